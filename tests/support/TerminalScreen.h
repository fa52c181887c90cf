#pragma once
// What a terminal shows of a stream of text and VT sequences: the characters with
// the colours they were drawn in, and the window title. Enough to check output
// that a console rendered (a Windows pseudo console sends its screen this way),
// where the exact bytes are the renderer's choice.

#include <string>
#include <vector>

namespace orvtest {

class TerminalScreen {
public:
    explicit TerminalScreen(const std::string& output);

    /// The colours of `text`'s letters where it first appears, as "foreground/
    /// background" SGR numbers ("39/49": the terminal's own); "mixed" when the
    /// letters differ, "missing" when the text does not appear. Blanks do not
    /// count: a renderer may move the cursor over them instead.
    std::string ColoursOf(const std::string& text) const;
    /// The window title set last; empty when none was.
    const std::string& Title() const { return title_; }
    /// The characters shown, without any sequence.
    const std::string& Text() const { return text_; }
    /// The output as it came.
    const std::string& Output() const { return output_; }

private:
    struct Colours {
        int foreground = 39;
        int background = 49;
        bool bold = false;
    };
    void Select(const std::string& parameters);
    void Show(char c);

    std::string output_;
    Colours current_;
    std::string text_;
    std::vector<std::string> colours_; // one per character of text_
    std::string title_;
};

/// Colours from ColoursOf with a black background ("f/40") as the terminal's
/// own ("f/49"): black is a Windows console's own background, and a renderer
/// sends it either way.
std::string BlackAsOwnBackground(const std::string& colours);

} // namespace orvtest
