#include "support/qt/placement.h"

#include "support/qt/regwrap.h"
#include "support/textroutines.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace {
constexpr int kDesignDensity = 96;

// a * b / c in 64 bits, truncated toward zero.
int MulDivTruncate(int a, int b, int c) {
    return static_cast<int>(static_cast<std::int64_t>(a) * b / c);
}

TWindowBounds BoundsOf(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// Keeps [start, start + length) inside [deskStart, deskStart + deskLength): first pulls the far edge
// in, then the near edge, so a window larger than the desktop sits at the desktop's near edge.
int KeepInside(int start, int length, int deskStart, int deskLength) {
    if (start + length > deskStart + deskLength)
        start = deskStart + deskLength - length;
    if (start < deskStart)
        start = deskStart;
    return start;
}
} // namespace

std::string PlacementTextOf(const TWindowBounds& bounds, int density, TWindowState state) {
    const char* word = state == TWindowState::Minimized   ? "Min"
                       : state == TWindowState::Maximized ? "Max"
                                                          : "Normal";
    return IntToStr(bounds.Left) + "," + IntToStr(bounds.Top) + "," + IntToStr(bounds.Width) + "," +
           IntToStr(bounds.Height) + "," + IntToStr(density) + "," + word;
}

TWindowBounds VirtualDesktop(const std::vector<TWindowBounds>& screens) {
    if (screens.empty())
        return {};
    int left = screens.front().Left, top = screens.front().Top;
    int right = left + screens.front().Width, bottom = top + screens.front().Height;
    for (const TWindowBounds& s : screens) {
        left = std::min(left, s.Left);
        top = std::min(top, s.Top);
        right = std::max(right, s.Left + s.Width);
        bottom = std::max(bottom, s.Top + s.Height);
    }
    return {left, top, right - left, bottom - top};
}

TWindowBounds CentredBounds(const TWindowBounds& window, const TWindowBounds& reference,
                            const TWindowBounds& primaryScreen) {
    const int refRight = reference.Left + reference.Width;
    const int refBottom = reference.Top + reference.Height;
    // Integer division truncates toward zero, also for negative sums.
    int x = (reference.Left + refRight - window.Width) / 2;
    int y = (reference.Top + refBottom - window.Height) / 2;
    x = std::max(primaryScreen.Left, std::min(primaryScreen.Left + primaryScreen.Width - window.Width, x));
    y = std::max(primaryScreen.Top, std::min(primaryScreen.Top + primaryScreen.Height - window.Height, y));
    return {x, y, window.Width, window.Height};
}

TWindowBounds FirstStartBounds(const TWindowBounds& available, int minWidth, int minHeight, int percent) {
    const auto extent = [percent](int area, int minimum) {
        const int share = static_cast<int>(static_cast<std::int64_t>(area) * percent / 100);
        return std::max(minimum, std::min(area, share));
    };
    const int width = extent(available.Width, minWidth);
    const int height = extent(available.Height, minHeight);
    // A window larger than the area starts at its top left corner rather than off it.
    const int left = available.Left + std::max(0, (available.Width - width) / 2);
    const int top = available.Top + std::max(0, (available.Height - height) / 2);
    return {left, top, width, height};
}

TPlacementResult ComputePlacement(const TPlacementInput& input) {
    int left = input.Window.Left, top = input.Window.Top;
    int width = input.Window.Width, height = input.Window.Height;
    const bool sizeable = input.Border != TBorderKind::Fixed;

    // The designed size is for 96 pixels per inch; a sizeable window grows with the density.
    if (input.Density != kDesignDensity && input.ScalesWithDensity && sizeable && input.Density > 0) {
        width = MulDivTruncate(width, input.Density, kDesignDensity);
        height = MulDivTruncate(height, input.Density, kDesignDensity);
    }

    TWindowState state = TWindowState::Normal;
    if (input.UseStored) {
        std::string text = input.Text;
        const int storedLeft = StrToIntDef(NextListItem(text), left);
        const int storedTop = StrToIntDef(NextListItem(text), top);
        const int storedWidth = StrToIntDef(NextListItem(text), width);
        const int storedHeight = StrToIntDef(NextListItem(text), height);
        const int storedDensity = StrToIntDef(NextListItem(text), 0);
        const std::string word = NextListItem(text);
        if (SameText(word, "Min"))
            state = TWindowState::Minimized;
        else if (SameText(word, "Max"))
            state = TWindowState::Maximized;
        // Pixels saved at another density mean another size on screen: then only the state counts.
        if (storedDensity != 0 && storedDensity == input.Density && state == TWindowState::Normal) {
            left = storedLeft;
            top = storedTop;
            if (input.Border == TBorderKind::Sizeable) {
                width = storedWidth;
                height = storedHeight;
            }
        }
    }

    if (!input.Screens.empty()) {
        const TWindowBounds desk = VirtualDesktop(input.Screens);
        left = KeepInside(left, width, desk.Left, desk.Width);
        top = KeepInside(top, height, desk.Top, desk.Height);
    }
    return {{left, top, width, height}, state};
}

std::string PlacementValueName(const QWidget* window) {
    return std::string("Window.") + window->metaObject()->className();
}

int ScreenDensity(const QWidget* window) {
    QScreen* screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : kDesignDensity;
}

TBorderKind BorderKindOf(const QWidget* window) {
    const Qt::WindowFlags flags = window->windowFlags();
    if (flags.testFlag(Qt::MSWindowsFixedSizeDialogHint) || flags.testFlag(Qt::FramelessWindowHint) ||
        window->minimumSize() == window->maximumSize())
        return TBorderKind::Fixed;
    if (window->windowType() == Qt::Tool)
        return TBorderKind::SizeableToolWindow;
    return TBorderKind::Sizeable;
}

std::string PlacementText(const QWidget* window) {
    const TWindowState state = window->isMinimized()   ? TWindowState::Minimized
                               : window->isMaximized() ? TWindowState::Maximized
                                                       : TWindowState::Normal;
    // pos() is the frame's position and size() the client size: move() and resize() take the same.
    return PlacementTextOf({window->x(), window->y(), window->width(), window->height()},
                           ScreenDensity(window), state);
}

void CentreWindow(QWidget* window) {
    QScreen* primary = QGuiApplication::primaryScreen();
    const TWindowBounds primaryBounds = primary ? BoundsOf(primary->geometry()) : TWindowBounds{};
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const TWindowBounds reference = owner ? BoundsOf(owner->frameGeometry()) : primaryBounds;
    const TWindowBounds centred = CentredBounds({window->x(), window->y(), window->width(), window->height()},
                                                reference, primaryBounds);
    window->move(centred.Left, centred.Top);
}

void ApplyPlacement(QWidget* window, const std::string& text, bool useStored) {
    CentreWindow(window);
    TPlacementInput input;
    input.Window = {window->x(), window->y(), window->width(), window->height()};
    input.Text = text;
    input.UseStored = useStored;
    input.Density = ScreenDensity(window);
    input.Border = BorderKindOf(window);
    for (const QScreen* screen : QGuiApplication::screens())
        input.Screens.push_back(BoundsOf(screen->geometry()));
    const TPlacementResult result = ComputePlacement(input);
    window->move(result.Bounds.Left, result.Bounds.Top);
    window->resize(result.Bounds.Width, result.Bounds.Height);
    if (result.State == TWindowState::Minimized)
        window->setWindowState((window->windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
    else if (result.State == TWindowState::Maximized)
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
}

namespace {
// Closes the settings key when the placement step ends, also by an exception.
struct KeyCloser {
    TRegWrap& settings;
    ~KeyCloser() { settings.CloseKey(); }
};
} // namespace

void SavePlacement(TRegWrap& settings, const QWidget* window, const std::string& formerValueName) {
    KeyCloser closer{settings};
    settings.WriteValue(PlacementValueName(window), PlacementText(window));
    // The value is now under its current name; an empty value deletes the former one.
    if (!formerValueName.empty() && formerValueName != PlacementValueName(window))
        settings.WriteValue(formerValueName, {});
}

void RestorePlacement(TRegWrap& settings, QWidget* window, bool useStored,
                      const std::string& formerValueName) {
    KeyCloser closer{settings};
    std::string text = settings.ReadValue(PlacementValueName(window), {});
    if (text.empty() && !formerValueName.empty())
        text = settings.ReadValue(formerValueName, {});
    ApplyPlacement(window, text, useStored);
}
