// The decisions behind what Wine cannot show: Windows' refusal of plain paths of 260 characters,
// job objects that cannot nest on Windows 7, touch and pen in a wait, files held for a moment.
#include <gtest/gtest.h>

#include "core/system_limits.h"

using namespace system_limits;

TEST(SystemLimits, ADeepPathGoesByAShortFormThatFitsAndOtherwiseNotAtAll) {
    std::string deep = "C:\\" + std::string(257, 'a');  // 260 characters
    EXPECT_EQ(PathWithinPlainLimit(deep.substr(0, 259), std::nullopt), deep.substr(0, 259));
    EXPECT_EQ(PathWithinPlainLimit(deep, "C:\\AAAAAA~1"), "C:\\AAAAAA~1");
    EXPECT_EQ(PathWithinPlainLimit(deep, std::nullopt), std::nullopt);
    EXPECT_EQ(PathWithinPlainLimit(deep, deep), std::nullopt);  // a volume without short names
}

TEST(SystemLimits, JobsTouchAndHeldFiles) {
    // Breakaway from a job that forbids it fails the start: the program then stays in that job.
    EXPECT_EQ(JobCreationFlags(false, true, true), 0u);
    EXPECT_EQ(JobCreationFlags(true, true, false), kCreateSuspended);
    EXPECT_EQ(JobCreationFlags(true, true, true), kCreateSuspended | kCreateBreakaway);
    // Windows 7 refuses the touch and pen bits; without them nothing is left to take away.
    EXPECT_EQ(WaitWakeMask(true), 0x1CFFu);
    EXPECT_EQ(NarrowerWakeMask(WaitWakeMask(true)), WaitWakeMask(false));
    EXPECT_EQ(NarrowerWakeMask(WaitWakeMask(false)), 0u);
    EXPECT_TRUE(TryOpenAgain(kErrorSharingViolation, 999));
    EXPECT_FALSE(TryOpenAgain(kErrorSharingViolation, 1000));
    EXPECT_FALSE(TryOpenAgain(5, 0));  // access denied stays denied
}
