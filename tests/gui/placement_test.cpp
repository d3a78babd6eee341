// Window placement: the stored text, centring, the placement rules given rectangles and densities
// directly, and saving and restoring real (offscreen) windows through a temporary settings store.
#include "support/error.h"
#include "support/qt/placement.h"
#include "support/qt/regwrap.h"
#include "tempsettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure output for rectangles.
void PrintTo(const TWindowBounds& b, std::ostream* os) {
    *os << "(" << b.Left << "," << b.Top << " " << b.Width << "x" << b.Height << ")";
}

namespace {

// A window class of its own, so its value name is "Window.TTestForm".
class TTestForm : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};

const char* StateName(TWindowState s) {
    return s == TWindowState::Minimized ? "Min" : s == TWindowState::Maximized ? "Max" : "Normal";
}

TEST(PlacementTextTest, SixFieldsJoinedByCommas) {
    struct Case {
        TWindowBounds bounds;
        int density;
        TWindowState state;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {{10, 20, 640, 480}, 96, TWindowState::Normal, "10,20,640,480,96,Normal"},
        {{-8, -8, 1296, 1010}, 120, TWindowState::Maximized, "-8,-8,1296,1010,120,Max"},
        {{-32000, -32000, 160, 28}, 144, TWindowState::Minimized, "-32000,-32000,160,28,144,Min"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(PlacementTextOf(c.bounds, c.density, c.state), c.expected);
    }
}

TEST(VirtualDesktopTest, BoundingRectangleOfAllScreens) {
    struct Case {
        const char* label;
        std::vector<TWindowBounds> screens;
        TWindowBounds expected;
    };
    const std::vector<Case> cases = {
        {"none", {}, {0, 0, 0, 0}},
        {"one", {{0, 0, 1024, 768}}, {0, 0, 1024, 768}},
        {"second screen on the left, taller",
         {{0, 0, 1920, 1080}, {-1280, -200, 1280, 1024}},
         {-1280, -200, 3200, 1280}},
        {"stacked", {{0, 0, 800, 600}, {0, 600, 1024, 768}}, {0, 0, 1024, 1368}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(VirtualDesktop(c.screens), c.expected);
    }
}

TEST(CentredBoundsTest, CentresOnTheReferenceInsideThePrimaryScreen) {
    const TWindowBounds screen{0, 0, 1024, 768};
    struct Case {
        const char* label;
        TWindowBounds window, reference, primary;
        TWindowBounds expected;
    };
    const std::vector<Case> cases = {
        {"on the desktop", {5, 5, 400, 300}, screen, screen, {312, 234, 400, 300}},
        {"on an owner", {0, 0, 200, 100}, {100, 100, 400, 300}, screen, {200, 200, 200, 100}},
        {"odd sums truncate", {0, 0, 201, 101}, {0, 0, 400, 300}, screen, {99, 99, 201, 101}},
        {"owner near the right edge: pulled back",
         {0, 0, 400, 300},
         {800, 600, 400, 300},
         screen,
         {624, 468, 400, 300}},
        {"owner off the left edge: pushed in",
         {0, 0, 400, 300},
         {-900, -500, 400, 300},
         screen,
         {0, 0, 400, 300}},
        {"larger than the screen: top-left corner", {0, 0, 1200, 900}, screen, screen, {0, 0, 1200, 900}},
        {"negative sums truncate toward zero",
         {0, 0, 1, 1},
         {-101, 0, 0, 0},
         {-1000, 0, 3000, 1000},
         {-101, 0, 1, 1}},
        {"primary screen not at the origin",
         {0, 0, 400, 300},
         {0, 0, 400, 300},
         {1920, 0, 1024, 768},
         {1920, 0, 400, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(CentredBounds(c.window, c.reference, c.primary), c.expected);
    }
}

TEST(ComputePlacementTest, StoredTextUnderDensityBorderAndDesktopRules) {
    const std::vector<TWindowBounds> desk1024 = {{0, 0, 1024, 768}};
    const std::vector<TWindowBounds> twoScreens = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};
    const TWindowBounds centred{312, 234, 400, 300};
    using B = TBorderKind;
    using S = TWindowState;
    struct Case {
        const char* label;
        std::string text;
        int density;
        B border;
        std::vector<TWindowBounds> screens;
        TWindowBounds expected;
        S state;
        bool useStored = true;
        bool scales = true;
    };
    const std::vector<Case> cases = {
        {"no stored value: stays centred", "", 96, B::Sizeable, desk1024, centred, S::Normal},
        {"same density and desktop: restored exactly",
         "10,20,500,400,96,Normal",
         96,
         B::Sizeable,
         desk1024,
         {10, 20, 500, 400},
         S::Normal},
        {"saved at 1900 on a desktop now 1024 wide: right edge on the desktop's",
         "1900,100,400,300,96,Normal",
         96,
         B::Sizeable,
         desk1024,
         {624, 100, 400, 300},
         S::Normal},
        {"below the bottom: bottom edge on the desktop's",
         "10,900,400,300,96,Normal",
         96,
         B::Sizeable,
         desk1024,
         {10, 468, 400, 300},
         S::Normal},
        {"left of the desktop: pushed in",
         "-500,-40,400,300,96,Normal",
         96,
         B::Sizeable,
         desk1024,
         {0, 0, 400, 300},
         S::Normal},
        {"wider than the desktop: left edge on the desktop's",
         "100,10,1200,300,96,Normal",
         96,
         B::Sizeable,
         desk1024,
         {0, 10, 1200, 300},
         S::Normal},
        {"on a second screen left of the primary: kept",
         "-1200,50,800,600,96,Normal",
         96,
         B::Sizeable,
         twoScreens,
         {-1200, 50, 800, 600},
         S::Normal},
        {"other density: neither position nor size, but Max maximises", "10,20,500,400,120,Max", 96,
         B::Sizeable, desk1024, centred, S::Maximized},
        {"other density, normal: centred", "10,20,500,400,120,Normal", 96, B::Sizeable, desk1024, centred,
         S::Normal},
        {"fixed border: stored position, designed size",
         "10,20,500,400,96,Normal",
         96,
         B::Fixed,
         desk1024,
         {10, 20, 400, 300},
         S::Normal},
        {"sizeable tool window: stored position, designed size",
         "10,20,500,400,96,Normal",
         96,
         B::SizeableToolWindow,
         desk1024,
         {10, 20, 400, 300},
         S::Normal},
        {"maximised at the same density: position not taken", "10,20,500,400,96,Max", 96, B::Sizeable,
         desk1024, centred, S::Maximized},
        {"state word without regard to case", "10,20,500,400,96,mIN", 96, B::Sizeable, desk1024, centred,
         S::Minimized},
        {"unknown state word is normal",
         "10,20,500,400,96,Huge",
         96,
         B::Sizeable,
         desk1024,
         {10, 20, 500, 400},
         S::Normal},
        {"malformed numbers take the current values",
         "x,20,5e2,400,96,Normal",
         96,
         B::Sizeable,
         desk1024,
         {312, 20, 400, 400},
         S::Normal},
        {"missing density: nothing restored", "10,20,500,400", 96, B::Sizeable, desk1024, centred, S::Normal},
        {"density 0: nothing restored", "10,20,500,400,0,Normal", 96, B::Sizeable, desk1024, centred,
         S::Normal},
        {"blanks around items are ignored",
         " 10 , 20 ,500,400, 96 ,Normal ",
         96,
         B::Sizeable,
         desk1024,
         {10, 20, 500, 400},
         S::Normal},
        {"use-stored off ignores the text", "10,20,500,400,96,Max", 96, B::Sizeable, desk1024, centred,
         S::Normal, false},
        {"denser screen scales a sizeable window",
         "",
         120,
         B::Sizeable,
         {{0, 0, 2000, 2000}},
         {312, 234, 500, 375},
         S::Normal},
        {"denser screen, stored at that density: stored size",
         "10,20,640,480,120,Normal",
         120,
         B::Sizeable,
         {{0, 0, 2000, 2000}},
         {10, 20, 640, 480},
         S::Normal},
        {"denser screen scales a tool window, which keeps that size",
         "10,20,640,480,120,Normal",
         120,
         B::SizeableToolWindow,
         {{0, 0, 2000, 2000}},
         {10, 20, 500, 375},
         S::Normal},
        {"denser screen leaves a fixed border alone",
         "",
         120,
         B::Fixed,
         {{0, 0, 2000, 2000}},
         centred,
         S::Normal},
        {"window that does not scale",
         "",
         120,
         B::Sizeable,
         {{0, 0, 2000, 2000}},
         centred,
         S::Normal,
         true,
         false},
        {"scaling truncates", "", 144, B::Sizeable, {{0, 0, 2000, 2000}}, {312, 234, 600, 450}, S::Normal},
        {"scaled window kept on the desktop",
         "",
         192,
         B::Sizeable,
         desk1024,
         {224, 168, 800, 600},
         S::Normal},
        {"no screens: no desktop limit",
         "5000,5000,500,400,96,Normal",
         96,
         B::Sizeable,
         {},
         {5000, 5000, 500, 400},
         S::Normal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TPlacementInput input;
        input.Window = centred;
        input.Text = c.text;
        input.UseStored = c.useStored;
        input.Density = c.density;
        input.ScalesWithDensity = c.scales;
        input.Border = c.border;
        input.Screens = c.screens;
        const TPlacementResult result = ComputePlacement(input);
        EXPECT_EQ(result.Bounds, c.expected);
        EXPECT_STREQ(StateName(result.State), StateName(c.state));
    }
}

TEST(ComputePlacementTest, ScalingUsesTruncatingDivision) {
    TPlacementInput input;
    input.Window = {0, 0, 301, 203};
    input.Density = 120;
    input.Text = "";
    const TPlacementResult result = ComputePlacement(input);
    // 301 * 120 / 96 = 376.25, 203 * 120 / 96 = 253.75.
    EXPECT_EQ(result.Bounds, (TWindowBounds{0, 0, 376, 253}));
}

class WindowPlacementTest : public ::testing::Test {
protected:
    TempSettings store;
    std::unique_ptr<TRegWrap> reg = store.Make();

    static TWindowBounds Primary() {
        return {0, 0, Screen()->geometry().width(), Screen()->geometry().height()};
    }
    static QScreen* Screen() { return QGuiApplication::primaryScreen(); }
    static TWindowBounds BoundsOf(const QWidget& w) { return {w.x(), w.y(), w.width(), w.height()}; }
};

TEST_F(WindowPlacementTest, ValueNameAndBorderKind) {
    TTestForm form;
    QWidget plain;
    EXPECT_EQ(PlacementValueName(&form), "Window.TTestForm");
    EXPECT_EQ(PlacementValueName(&plain), "Window.QWidget");

    EXPECT_EQ(BorderKindOf(&plain), TBorderKind::Sizeable);
    QWidget fixed;
    fixed.setFixedSize(300, 200);
    EXPECT_EQ(BorderKindOf(&fixed), TBorderKind::Fixed);
    QWidget hinted(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    EXPECT_EQ(BorderKindOf(&hinted), TBorderKind::Fixed);
    QWidget tool(nullptr, Qt::Tool);
    EXPECT_EQ(BorderKindOf(&tool), TBorderKind::SizeableToolWindow);
}

TEST_F(WindowPlacementTest, SaveThenRestoreGivesTheSameBounds) {
    ASSERT_NE(Screen(), nullptr);
    const int density = ScreenDensity(nullptr);
    TTestForm saved;
    saved.move(30, 40);
    saved.resize(320, 240);
    SavePlacement(*reg, &saved);
    EXPECT_EQ(reg->OpenState(), 0) << "the key is closed after the write";
    EXPECT_EQ(reg->ReadValue("Window.TTestForm"), "30,40,320,240," + std::to_string(density) + ",Normal");

    TTestForm restored;
    restored.resize(100, 80);
    RestorePlacement(*reg, &restored, true);
    EXPECT_EQ(reg->OpenState(), 0) << "the key is closed after the read";
    EXPECT_EQ(BoundsOf(restored), (TWindowBounds{30, 40, 320, 240}));
    EXPECT_FALSE(restored.isMaximized());
    EXPECT_FALSE(restored.isMinimized());
}

// A window whose class was renamed finds its placement under the former name once; the next save
// stores it under the current name and removes the former value. The current name wins when both exist.
TEST_F(WindowPlacementTest, PlacementUnderAFormerNameIsReadOnceAndMoved) {
    ASSERT_NE(Screen(), nullptr);
    const int density = ScreenDensity(nullptr);
    const std::string former = "Window.TOldForm";
    reg->WriteValue(former, "30,40,320,240," + std::to_string(density) + ",Normal");

    TTestForm window;
    window.resize(100, 80);
    RestorePlacement(*reg, &window, true, former);
    EXPECT_EQ(BoundsOf(window), (TWindowBounds{30, 40, 320, 240}));

    window.move(50, 60);
    SavePlacement(*reg, &window, former);
    EXPECT_EQ(reg->ReadValue(former, "absent"), "absent") << "the former value is removed";
    EXPECT_EQ(reg->ReadValue("Window.TTestForm"), "50,60,320,240," + std::to_string(density) + ",Normal");

    reg->WriteValue(former, "10,10,200,150," + std::to_string(density) + ",Normal");
    TTestForm again;
    RestorePlacement(*reg, &again, true, former);
    EXPECT_EQ(BoundsOf(again), (TWindowBounds{50, 60, 320, 240})) << "the current name wins";
}

TEST_F(WindowPlacementTest, StoredStateIsAppliedBeforeShowing) {
    struct Case {
        const char* label;
        Qt::WindowState saved;
        bool maximized, minimized;
    };
    for (const Case c : {Case{"maximised", Qt::WindowMaximized, true, false},
                         Case{"minimised", Qt::WindowMinimized, false, true}}) {
        SCOPED_TRACE(c.label);
        TTestForm saved;
        saved.resize(300, 200);
        saved.setWindowState(c.saved);
        SavePlacement(*reg, &saved);
        TTestForm restored;
        restored.resize(300, 200);
        RestorePlacement(*reg, &restored, true);
        EXPECT_EQ(restored.isMaximized(), c.maximized);
        EXPECT_EQ(restored.isMinimized(), c.minimized);
    }
}

TEST_F(WindowPlacementTest, WithoutStoredValueTheWindowIsCentred) {
    TTestForm form;
    form.resize(300, 200);
    RestorePlacement(*reg, &form, true);
    EXPECT_EQ(BoundsOf(form), CentredBounds({0, 0, 300, 200}, Primary(), Primary()));
    EXPECT_EQ(form.x(), (Primary().Width - 300) / 2);
}

TEST_F(WindowPlacementTest, OwnedWindowIsCentredOnItsOwner) {
    TTestForm owner;
    owner.move(40, 50);
    owner.resize(400, 300);
    QWidget dialog(&owner, Qt::Dialog);
    dialog.resize(200, 100);
    CentreWindow(&dialog);
    const QRect frame = owner.frameGeometry();
    EXPECT_EQ(dialog.x(), (frame.left() + frame.left() + frame.width() - 200) / 2);
    EXPECT_EQ(dialog.y(), (frame.top() + frame.top() + frame.height() - 100) / 2);
    EXPECT_EQ(dialog.size(), QSize(200, 100));
}

TEST_F(WindowPlacementTest, RestoreKeepsTheWindowOnTheDesktop) {
    const TWindowBounds desk = Primary();
    reg->WriteValue("Window.TTestForm", std::to_string(desk.Width + 500) + ",10,300,200," +
                                            std::to_string(ScreenDensity(nullptr)) + ",Normal");
    TTestForm form;
    RestorePlacement(*reg, &form, true);
    EXPECT_EQ(BoundsOf(form), (TWindowBounds{desk.Width - 300, 10, 300, 200}));
}

TEST_F(WindowPlacementTest, SettingsFailuresReachTheCallerWithTheKeyClosed) {
    TempSettings::WriteRaw(store.dir.filePath("blocker"), "not a folder");
    TRegWrap unwritable(TRegRoot::CurrentUser, TempSettings::KeyPath, store.dir.filePath("blocker/x.ini"),
                        store.systemFile);
    TTestForm form;
    try {
        SavePlacement(unwritable, &form);
        ADD_FAILURE() << "saving to an unwritable store did not fail";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Window.TTestForm'");
    }
    EXPECT_EQ(unwritable.OpenState(), 0);

    QDir().mkpath(store.userFile);
    auto unreadable = store.Make();
    try {
        RestorePlacement(*unreadable, &form, true);
        ADD_FAILURE() << "restoring from an unreadable store did not fail";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "Failed to get data for 'Window.TTestForm'");
    }
    EXPECT_EQ(unreadable->OpenState(), 0);
}

} // namespace

#include "placement_test.moc"
