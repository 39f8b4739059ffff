#include <gtest/gtest.h>

#include <tuple>

#include "purge/priority.h"

namespace sorvane {
namespace {

// Lowering itself shows in the end-to-end run's debug.log ("Thread set to: THREAD_PRIORITY_LOWEST").
TEST(PriorityNames, OutsideTheTablesTheTextsStayAndUnreadableValuesAreNoAnswer) {
    const std::tuple<std::int32_t, std::int32_t, bool, const char*> cases[] = {
        // thread level, priority class, readable, thread text
        {7, 16384, true, "THREAD_PRIORITY_"},  // the prefix comes anyway
        {kThreadLevelUnreadable, 32, false, ""},
        {0, kPriorityClassUnreadable, false, ""},
    };
    for (const auto& [threadLevel, priorityClass, readable, expectedThreadText] : cases) {
        std::string threadText;
        std::string classText;
        EXPECT_EQ(ApplyPriorityNames(threadLevel, priorityClass, threadText, classText), readable);
        EXPECT_EQ(threadText, expectedThreadText) << threadLevel;
        EXPECT_EQ(classText, "") << priorityClass;
    }
}

}  // namespace
}  // namespace sorvane
