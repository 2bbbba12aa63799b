// Where a desktop note is shown.
#include "NotePlacement.h"

#include <gtest/gtest.h>

namespace {
const QSize Note(253, 175);
// A work area below a 30-pixel panel on a 1280 x 1024 screen beside a second one on the right.
const QRect WorkArea(0, 30, 1280, 994);
const QVector<QRect> Screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
} // namespace

TEST(NotePlacement, DefaultPlaceIsFiftyBelowTheTopAndFiftyLeftOfTheRightEdge)
{
    EXPECT_EQ(DefaultNotePlace(WorkArea, Note), QPoint(1280 - 253 - 50, 80));
    EXPECT_EQ(DefaultNotePlace(QRect(100, 0, 800, 600), Note), QPoint(900 - 253 - 50, 50));
}

struct PlaceCase
{
    const char* Name;
    qint32 Top;
    qint32 Left;
    QPoint Expected;
};

class StoredPlace : public testing::TestWithParam<PlaceCase>
{
};

TEST_P(StoredPlace, EachCoordinateByItself)
{
    EXPECT_EQ(NotePlace(GetParam().Top, GetParam().Left, WorkArea, Note, Screens), GetParam().Expected);
    EXPECT_EQ(StoredNotePlace(GetParam().Top, GetParam().Left, WorkArea, Note), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StoredPlace,
                         testing::Values(PlaceCase{"NoneStored", 0, 0, QPoint(977, 80)},
                                         PlaceCase{"TopOnly", 120, 0, QPoint(977, 120)},
                                         PlaceCase{"LeftOnly", 0, 300, QPoint(300, 80)},
                                         PlaceCase{"Both", 400, 20, QPoint(20, 400)},
                                         PlaceCase{"OnTheSecondScreen", 500, 2000, QPoint(2000, 500)},
                                         PlaceCase{"PartlyOffTheLeftEdge", 200, -200, QPoint(-200, 200)}),
                         [](const testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.Name); });

struct ScreenCase
{
    const char* Name;
    QRect Note;
    bool OnScreen;
};

class OnScreen : public testing::TestWithParam<ScreenCase>
{
};

TEST_P(OnScreen, NeedsAGrabbablePieceOnOneScreen)
{
    EXPECT_EQ(NoteOnScreen(GetParam().Note, Screens), GetParam().OnScreen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OnScreen,
    testing::Values(ScreenCase{"Inside", QRect(QPoint(100, 100), Note), true},
                    ScreenCase{"AcrossBothScreens", QRect(QPoint(1200, 100), Note), true},
                    ScreenCase{"SixteenPixelsShowing", QRect(QPoint(-237, 100), Note), true},
                    ScreenCase{"FifteenPixelsShowing", QRect(QPoint(-238, 100), Note), false},
                    ScreenCase{"BelowTheShorterScreen", QRect(QPoint(200, 1100), Note), false},
                    ScreenCase{"BelowTheFirstButOnTheSecond", QRect(QPoint(1500, 900), Note), true},
                    ScreenCase{"FarRight", QRect(QPoint(3300, 100), Note), false},
                    ScreenCase{"Above", QRect(QPoint(100, -170), Note), false}),
    [](const testing::TestParamInfo<ScreenCase>& info) { return std::string(info.param.Name); });

TEST(NotePlacement, PlaceOnNoScreenFallsBackToTheDefaultPlace)
{
    // A note left on a monitor that is gone.
    EXPECT_EQ(NotePlace(300, 4000, WorkArea, Note, Screens), QPoint(977, 80));
    EXPECT_EQ(NotePlace(-900, 0, WorkArea, Note, Screens), QPoint(977, 80));
    // Without screen information the stored place is used as it is.
    EXPECT_EQ(NotePlace(300, 4000, WorkArea, Note, {}), QPoint(4000, 300));
}
