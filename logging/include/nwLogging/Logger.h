#pragma once
// Logger tree: named entities below one root per module, sharing one state with
// the level and group masks.

#include <nwLogging/Levels.h>

#include <boost/thread/shared_mutex.hpp>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace nwLogging {

/// Level and group masks shared by all loggers of a module. Configuration
/// replaces the masks under the exclusive lock; the enabled test reads them as
/// atomics without taking the lock, so a disabled site costs two loads.
class inner_logstate {
public:
    inner_logstate() = default;
    inner_logstate(const inner_logstate&) = delete;
    inner_logstate& operator=(const inner_logstate&) = delete;

    bool enabled(uint32_t level, uint64_t group = no_group) const {
        return (level & levelMask_.load(std::memory_order_relaxed)) != 0 &&
               (group & groupMask_.load(std::memory_order_relaxed)) != 0;
    }
    uint32_t level_mask() const;
    uint64_t group_mask() const;
    void set_level_mask(uint32_t mask);
    void set_group_mask(uint64_t mask);

    /// Group names by id; unknown ids raise "Group id not registered", the
    /// all-ones id "Invalid group id".
    void register_group(uint64_t id, const std::string& name);
    std::string group_name(uint64_t id) const;
    /// The id of a registered group name; "Invalid group ID: not registered" otherwise.
    uint64_t group_id(const std::string& name) const;

private:
    mutable boost::shared_mutex lock_; // guards writes of the masks and the group table
    std::atomic<uint32_t> levelMask_{0};
    std::atomic<uint64_t> groupMask_{~uint64_t{0}};
    std::map<uint64_t, std::string> groups_; // guarded by lock_
};

class basic_logger;
using logger_ptr = std::shared_ptr<basic_logger>;

/// One named entity of the tree. Thread-safe: children are looked up, created
/// and pruned under the library's global lock. Loggers are only made through
/// make_root, make_child and get_child, so every child is part of its tree.
class basic_logger : public std::enable_shared_from_this<basic_logger> {
    struct passkey {
        explicit passkey() = default;
    };

public:
    /// A root logger with its own state (tests build private trees this way).
    static logger_ptr make_root(const std::string& name);

    /// The child `name` of `parent` (created when missing), as parent->get_child;
    /// std::logic_error "Parent is <null>" without parent.
    static logger_ptr make_child(const logger_ptr& parent, const std::string& name);

    // Public for std::make_shared only; the passkey keeps them internal.
    basic_logger(passkey, std::string rootName);
    basic_logger(passkey, const logger_ptr& parent, std::string name);
    basic_logger(const basic_logger&) = delete;
    basic_logger& operator=(const basic_logger&) = delete;

    /// A copy: the root's name may change while other threads read it.
    std::string name() const;
    /// Entity names joined with '.' from the root down.
    std::string full_name() const;
    const std::shared_ptr<inner_logstate>& state() const { return state_; }
    bool enabled(uint32_t level, uint64_t group = no_group) const {
        return state_->enabled(level, group);
    }
    bool is_root() const { return root_; }

    /// The logger at a dotted path below this one (created when missing); each
    /// element is lower-cased; an empty element raises std::logic_error
    /// "Invalid path: logger entity names must not be empty".
    logger_ptr get_child(const std::string& path);

    /// Renames a root: std::invalid_argument "Root name must not contain separator
    /// character" for a name with '.', std::runtime_error "Root name can only be
    /// changed if no children are present" when children exist; the same name
    /// (compared lower-cased) is a no-op. The root keeps the case it is given.
    /// A logger that is not a root raises std::logic_error.
    void set_root_name(const std::string& name);

    /// Removes, depth first, every child that nobody but its parent references
    /// and that has no children left; so a referenced logger keeps its ancestors.
    void prune();

    std::size_t child_count() const;

private:
    void prune_locked();

    std::string name_;     // a root's name is guarded by the global lock
    std::string fullName_; // fixed for children: their root cannot be renamed
    const bool root_;
    const std::shared_ptr<inner_logstate> state_;
    // Parents own their children and never the other way round, so a tree
    // dropped by its owner is freed; a referenced child outlives its tree.
    std::map<std::string, logger_ptr> children_; // guarded by the global lock
};

/// The module's root logger (one per module, created on first use).
const logger_ptr& root_logger();

/// A logger below the module's root ("Producer" gives root.producer).
logger_ptr get_logger(const std::string& path);

/// Prunes the module's logger tree under the library's global lock.
void prune_loggers();

} // namespace nwLogging
