#include <nwLogging/Logger.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace nw = nwLogging;

namespace {

template <typename Exception, typename Call> std::string thrown_text(Call&& call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.what();
    }
    return "<nothing thrown>";
}

class LoggerTree : public ::testing::Test {
protected:
    nw::logger_ptr root = nw::basic_logger::make_root("GDRVM");
};

} // namespace

TEST_F(LoggerTree, RootKeepsTheCaseOfItsName) {
    EXPECT_EQ(root->name(), "GDRVM");
    EXPECT_EQ(root->full_name(), "GDRVM");
    EXPECT_TRUE(root->is_root());
}

TEST_F(LoggerTree, ChildNameIsLowerCasedAndJoinedWithADot) {
    const nw::logger_ptr producer = root->get_child("Producer");
    EXPECT_EQ(producer->name(), "producer");
    EXPECT_EQ(producer->full_name(), "GDRVM.producer");
    EXPECT_FALSE(producer->is_root());
}

TEST_F(LoggerTree, DottedPathReachesANestedLogger) {
    const nw::logger_ptr dma = root->get_child("Board.DMA0");
    EXPECT_EQ(dma->full_name(), "GDRVM.board.dma0");
    EXPECT_EQ(root->child_count(), 1u);
    EXPECT_EQ(root->get_child("board")->child_count(), 1u);
    EXPECT_EQ(root->get_child("board")->get_child("dma0"), dma);
}

TEST_F(LoggerTree, SamePathInAnyCaseGivesTheSameLogger) {
    EXPECT_EQ(root->get_child("Producer"), root->get_child("PRODUCER"));
    EXPECT_EQ(root->get_child("producer"), root->get_child("Producer"));
    EXPECT_EQ(root->child_count(), 1u);
}

TEST_F(LoggerTree, AllLoggersOfATreeShareOneState) {
    const nw::logger_ptr child = root->get_child("a.b");
    EXPECT_EQ(child->state(), root->state());
    root->state()->set_level_mask(nw::level_err);
    EXPECT_TRUE(child->enabled(nw::level_err));
    EXPECT_FALSE(nw::basic_logger::make_root("Other")->enabled(nw::level_err));
}

TEST_F(LoggerTree, EmptyPathElementIsRefusedAndCreatesNothing) {
    for (const std::string path : {"", ".", "a.", ".a", "a..b", "Board..DMA.x"}) {
        EXPECT_EQ(thrown_text<std::logic_error>([&] { root->get_child(path); }),
                  "Invalid path: logger entity names must not be empty")
            << path;
    }
    EXPECT_EQ(root->child_count(), 0u);
}

TEST_F(LoggerTree, ChildWithoutParentIsRefused) {
    EXPECT_EQ(thrown_text<std::logic_error>([] { nw::basic_logger::make_child(nullptr, "x"); }),
              "Parent is <null>");
}

TEST_F(LoggerTree, MakeChildIsGetChildOfTheParent) {
    const nw::logger_ptr child = nw::basic_logger::make_child(root, "Board");
    EXPECT_EQ(child, root->get_child("board"));
    EXPECT_EQ(child->full_name(), "GDRVM.board");
}

TEST(LoggerRoot, RootNameWithSeparatorIsRefused) {
    const nw::logger_ptr root = nw::basic_logger::make_root("");
    EXPECT_EQ(thrown_text<std::invalid_argument>([&] { root->set_root_name("GD.RVM"); }),
              "Root name must not contain separator character");
    EXPECT_EQ(root->name(), "");
    EXPECT_EQ(thrown_text<std::invalid_argument>([] { nw::basic_logger::make_root("a.b"); }),
              "Root name must not contain separator character");
}

TEST(LoggerRoot, RootWithoutChildrenCanBeRenamed) {
    const nw::logger_ptr root = nw::basic_logger::make_root("");
    root->set_root_name("GDRVM");
    EXPECT_EQ(root->full_name(), "GDRVM");
    const nw::logger_ptr child = root->get_child("Producer");
    EXPECT_EQ(child->full_name(), "GDRVM.producer");
}

TEST_F(LoggerTree, RootWithChildrenCannotBeRenamed) {
    const nw::logger_ptr child = root->get_child("producer");
    EXPECT_EQ(thrown_text<std::runtime_error>([&] { root->set_root_name("OTHER"); }),
              "Root name can only be changed if no children are present");
    EXPECT_EQ(root->name(), "GDRVM");
    EXPECT_EQ(child->full_name(), "GDRVM.producer");
}

TEST_F(LoggerTree, SettingTheSameNameInAnyCaseIsANoOpEvenWithChildren) {
    const nw::logger_ptr child = root->get_child("producer");
    EXPECT_NO_THROW(root->set_root_name("gdrvm"));
    EXPECT_NO_THROW(root->set_root_name("GDRVM"));
    EXPECT_EQ(root->name(), "GDRVM");
}

TEST_F(LoggerTree, OnlyARootCanBeRenamed) {
    const nw::logger_ptr child = root->get_child("producer");
    EXPECT_THROW(child->set_root_name("x"), std::logic_error);
    EXPECT_EQ(child->full_name(), "GDRVM.producer");
}

TEST(LoggerRoot, ChildOfARootWithoutNameHasNoLeadingDot) {
    const nw::logger_ptr root = nw::basic_logger::make_root("");
    EXPECT_EQ(root->get_child("Producer.X")->full_name(), "producer.x");
}

TEST_F(LoggerTree, PruneRemovesChildrenNobodyReferences) {
    root->get_child("a");
    root->get_child("b.c");
    ASSERT_EQ(root->child_count(), 2u);
    root->prune();
    EXPECT_EQ(root->child_count(), 0u);
}

TEST_F(LoggerTree, PruneKeepsAReferencedChildAndItsAncestors) {
    const nw::logger_ptr deep = root->get_child("board.dma.port");
    root->get_child("board.unused");
    root->get_child("other");
    root->prune();
    EXPECT_EQ(root->child_count(), 1u);
    const nw::logger_ptr board = root->get_child("board");
    EXPECT_EQ(board->child_count(), 1u);
    EXPECT_EQ(root->get_child("board.dma.port"), deep);
}

TEST_F(LoggerTree, PruneIsDepthFirstSoAWholeUnusedBranchGoesAtOnce) {
    nw::logger_ptr deep = root->get_child("a.b.c.d");
    root->prune();
    EXPECT_EQ(root->child_count(), 1u);
    deep.reset();
    root->prune();
    EXPECT_EQ(root->child_count(), 0u);
}

TEST(LoggerRoot, DroppedTreeIsFreedEvenWithUnprunedChildren) {
    nw::logger_ptr root = nw::basic_logger::make_root("GDRVM");
    std::weak_ptr<nw::basic_logger> watchRoot = root;
    std::weak_ptr<nw::basic_logger> watchLeaf = root->get_child("a.b.c");
    root.reset();
    EXPECT_TRUE(watchRoot.expired());
    EXPECT_TRUE(watchLeaf.expired());
}

TEST(LoggerRoot, ReferencedChildOutlivesItsTree) {
    nw::logger_ptr root = nw::basic_logger::make_root("GDRVM");
    root->state()->set_level_mask(nw::level_err);
    const nw::logger_ptr leaf = root->get_child("Board.DMA");
    root.reset();
    EXPECT_EQ(leaf->full_name(), "GDRVM.board.dma");
    EXPECT_TRUE(leaf->enabled(nw::level_err));
    EXPECT_EQ(leaf->get_child("x")->full_name(), "GDRVM.board.dma.x");
}

TEST_F(LoggerTree, PrunedLoggerIsMadeAfreshOnTheNextLookup) {
    std::weak_ptr<nw::basic_logger> old = root->get_child("producer");
    root->prune();
    EXPECT_TRUE(old.expired());
    EXPECT_EQ(root->get_child("producer")->full_name(), "GDRVM.producer");
}

TEST_F(LoggerTree, PrunedTreeCanBeRenamed) {
    root->get_child("producer");
    root->prune();
    root->set_root_name("NEW");
    EXPECT_EQ(root->get_child("x")->full_name(), "NEW.x");
}

TEST(ModuleLoggers, RootLoggerIsOneLoggerForTheModule) {
    EXPECT_EQ(nw::root_logger(), nw::root_logger());
    EXPECT_TRUE(nw::root_logger()->is_root());
    EXPECT_EQ(nw::root_logger()->name(), ""); // named at configuration time
}

TEST(ModuleLoggers, GetLoggerGivesTheLowerCasedChildOfTheRoot) {
    const nw::logger_ptr producer = nw::get_logger("Producer");
    EXPECT_EQ(producer->name(), "producer");
    EXPECT_EQ(producer, nw::root_logger()->get_child("producer"));
    EXPECT_EQ(producer->state(), nw::root_logger()->state());
    const std::string rootName = nw::root_logger()->full_name();
    EXPECT_EQ(producer->full_name(), rootName.empty() ? "producer" : rootName + ".producer");
}

TEST(ModuleLoggers, PruneLoggersEmptiesTheModuleTreeOfUnusedLoggers) {
    const nw::logger_ptr kept = nw::get_logger("kept");
    std::weak_ptr<nw::basic_logger> dropped = nw::get_logger("dropped.deeper");
    nw::prune_loggers();
    EXPECT_TRUE(dropped.expired());
    EXPECT_EQ(nw::get_logger("kept"), kept);
}

TEST_F(LoggerTree, ConcurrentLookupsOfOnePathAgreeOnOneLogger) {
    constexpr int threadCount = 8;
    std::vector<nw::logger_ptr> found(threadCount);
    std::vector<std::thread> threads;
    for (int i = 0; i < threadCount; ++i) {
        threads.emplace_back([&, i] {
            for (int n = 0; n < 200; ++n)
                found[i] = root->get_child(n % 2 ? "Board.DMA" : "board.dma");
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (const nw::logger_ptr& logger : found)
        EXPECT_EQ(logger, found[0]);
    EXPECT_EQ(root->child_count(), 1u);
}

TEST_F(LoggerTree, PruneWhileOtherThreadsLookUpKeepsTheTreeConsistent) {
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&, i] {
            int n = 0;
            while (!stop.load()) {
                const nw::logger_ptr logger =
                    root->get_child("worker" + std::to_string(i) + ".n" + std::to_string(n++ % 7));
                EXPECT_EQ(logger->state(), root->state());
            }
        });
    }
    for (int n = 0; n < 300; ++n)
        root->prune();
    stop = true;
    for (std::thread& t : threads)
        t.join();
    root->prune();
    EXPECT_EQ(root->child_count(), 0u);
}
