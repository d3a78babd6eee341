#pragma once
// Window placement: a window's position, size and minimised/maximised state are stored in the
// settings as "Window.<class name>" when it goes and applied when it comes back, with care for a
// screen of another density and for a desktop that has shrunk.
//
// The stored text is "left,top,width,height,density,Normal|Min|Max". The geometry rules are pure
// functions over plain rectangles (ComputePlacement, CentredBounds); the QWidget functions below
// gather the window's and the screens' geometry and apply the result.
//
// The value name uses the window's meta-object class name, so windows that store their placement
// must declare Q_OBJECT (the main window is "Window.MainWindow").
#include <string>
#include <vector>

class QWidget;
class TRegWrap;

// A window or screen rectangle: left and top edges, width and height in pixels.
struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TWindowBounds&) const = default;
};

enum class TWindowState { Normal, Minimized, Maximized };

// How the window's frame behaves: a normal sizeable frame, a sizeable tool-window frame (scaled with
// density, but its stored size is not restored), or a fixed frame (keeps its designed size).
enum class TBorderKind { Sizeable, SizeableToolWindow, Fixed };

// The six-field placement text.
std::string PlacementTextOf(const TWindowBounds& bounds, int density, TWindowState state);

// The bounding rectangle of all screens (the virtual desktop); all zero when there are none.
TWindowBounds VirtualDesktop(const std::vector<TWindowBounds>& screens);

// The window moved to the centre of `reference` (its owner, or the desktop), then kept inside the
// primary screen; the size is unchanged.
TWindowBounds CentredBounds(const TWindowBounds& window, const TWindowBounds& reference,
                            const TWindowBounds& primaryScreen);

// The bounds of a window shown for the first time, with no placement stored: `percent` of the available
// area (the screen without panels and task bars) in each direction, never below the minimum size and, when
// the area allows it, never beyond the area; centred on the area.
TWindowBounds FirstStartBounds(const TWindowBounds& available, int minWidth, int minHeight, int percent = 80);

struct TPlacementInput {
    TWindowBounds Window;          // the window now, already centred
    std::string Text;              // the stored placement text (may be empty or malformed)
    bool UseStored = true;         // false: ignore the text
    int Density = 96;              // current screen density, pixels per inch
    bool ScalesWithDensity = true; // the window's size grows with the density
    TBorderKind Border = TBorderKind::Sizeable;
    std::vector<TWindowBounds> Screens; // every screen; empty: no desktop limit
};

struct TPlacementResult {
    TWindowBounds Bounds;
    TWindowState State = TWindowState::Normal;
};

// The bounds and state a window gets from a stored placement text. The stored position (and, for a
// normal sizeable frame, size) is used only when it was made at the current density and the window
// was neither minimised nor maximised; the stored state is applied whatever the density. The result
// is kept on the virtual desktop.
TPlacementResult ComputePlacement(const TPlacementInput& input);

// ---- The same for real windows.

// "Window." + the window's class name.
std::string PlacementValueName(const QWidget* window);
// Logical density of the window's screen (the primary screen when it has none), rounded; 96 when
// there is no screen at all.
int ScreenDensity(const QWidget* window);
// The frame kind of a top-level window: fixed when it cannot be resized or has no frame, a tool
// window when it is one, sizeable otherwise.
TBorderKind BorderKindOf(const QWidget* window);

// The placement text of the window as it is now.
std::string PlacementText(const QWidget* window);
// Centres the window on its owner (parent widget's window), or on the primary screen when it has
// none, keeping it inside the primary screen.
void CentreWindow(QWidget* window);
// Centres the window, then applies `text` (when `useStored`) by ComputePlacement, then minimises or
// maximises it when the text says so. Works before the window is first shown.
void ApplyPlacement(QWidget* window, const std::string& text, bool useStored);

// Writes the window's placement to the settings; the key is closed afterwards, also on failure.
void SavePlacement(TRegWrap& settings, const QWidget* window, const std::string& formerValueName = {});
// Reads the window's placement (empty when absent) and applies it; the key is closed afterwards,
// also on failure. `formerValueName`, when given, is the name an earlier version stored the same
// window's placement under: it is read when the window's own value is absent, and removed once the
// placement is stored under the current name, so a renamed window keeps where the user put it.
void RestorePlacement(TRegWrap& settings, QWidget* window, bool useStored,
                      const std::string& formerValueName = {});
