#include "sdk/SdkErrorText.h"

std::string FgLastErrorText(Fg_Grabber* grabber) {
    const char* text = Fg_LastErrorText(grabber);
    return text != nullptr ? std::string(text) : std::string();
}
