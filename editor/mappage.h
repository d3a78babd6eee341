#pragma once
// The Map page: the whole assistant at once, laid out by Graphviz and drawn on a QGraphicsView. Every
// screen is a box with its ID and caption (the start screen blue, screens no user can reach red and
// dashed, dead ends with a double border), every go-to option an arrow labelled with the option's
// caption, and the options of the other kinds badges on their screen's box with what they do as tool
// tip. Drag to pan, wheel or Ctrl +/- to zoom, Ctrl+0 or Fit to see everything.
//
// The page takes a snapshot of the assistant (an AssistantMap: positions and copies of the texts) and
// lays it out in a worker thread, so typing is never blocked. The old picture stays until the new one
// is ready and the view stays where it was: the screen in the middle of the view (or the selected
// one) keeps its place on the screen. A snapshot equal to the one shown is not laid out again; one
// that arrives while a layout runs waits for it, and only the newest waiting one is laid out.
//
// The page knows nothing of the main window: clicks come out as signals with screen and option
// positions, and selectScreen() follows the window's selection.
#include "maplayout/maplayout.h"
#include "model/assistantmap.h"

#include <QFutureWatcher>
#include <QString>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class MapView;
class Prompter;
class QGraphicsItem;
class QGraphicsPathItem;
class QGraphicsScene;
class QLabel;
class QProgressBar;
class QPushButton;
class TAssistRoot;

class MapPage : public QWidget {
    Q_OBJECT
public:
    explicit MapPage(QWidget* parent = nullptr);
    ~MapPage() override; // waits for a layout still running

    // Takes a snapshot of the assistant and shows its map once laid out.
    void setAssistant(const TAssistRoot& root);
    void setMap(AssistantMap map);
    // Lays the last snapshot out again.
    void refresh();
    // Settings for the layout (the size above which the faster one is used); used from the next layout.
    void setLayoutOptions(const MapLayoutOptions& options) { m_options = options; }
    // File dialogs and error boxes of the export buttons; without one the buttons are hidden.
    void setPrompter(Prompter* prompter);

    // Frames the screen's box and scrolls it into view; -1 (or a position without box) clears the frame.
    void selectScreen(int screen);
    int selectedScreen() const { return m_selected; }

    // The map shown and its layout (empty before the first layout has finished).
    const AssistantMap& shownMap() const { return m_shown; }
    const MapLayout& shownLayout() const { return m_layout; }
    bool isLayingOut() const;
    // Scene position of the middle of a screen's box (for tests and the window's own use).
    QPointF boxCenter(int screen) const;
    MapView* view() const { return m_view; }
    QString statusText() const;

    // Writes the map shown as Graphviz draws it (SVG) or as the page draws it (PNG). Failures throw
    // AppError with the message for the user.
    void exportSvg(const QString& fileName) const;
    void exportPng(const QString& fileName) const;

    void zoomIn();
    void zoomOut();
    void fitToWindow();

Q_SIGNALS:
    void screenClicked(int screen);
    void optionClicked(int screen, int option);
    // A double click: option is -1 for a screen's box.
    void itemActivated(int screen, int option);
    // A new picture is shown.
    void layoutFinished();

private:
    struct LayoutResult {
        AssistantMap map;
        MapLayout layout;
        std::string error;
    };
    void startLayout();
    void layoutDone();
    void showPicture(AssistantMap map, MapLayout layout);
    void updateStatus();
    void exportWithDialog(bool svg);
    // Screen and option of a clicked item (walking up to the item that carries them); none when the
    // item belongs to no screen or option.
    struct Target {
        int screen = -1;
        int option = -1;
    };
    std::optional<Target> targetOf(QGraphicsItem* item) const;
    void handleClick(QGraphicsItem* item);
    void handleDoubleClick(QGraphicsItem* item);

    MapView* m_view = nullptr;
    QGraphicsScene* m_scene = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_exportSvgButton = nullptr;
    QPushButton* m_exportPngButton = nullptr;
    Prompter* m_prompter = nullptr;

    MapLayoutOptions m_options;
    AssistantMap m_latest;       // the newest snapshot given
    bool m_latestLaidOut = true; // m_latest is shown or being laid out
    bool m_hasPicture = false;
    AssistantMap m_shown;
    MapLayout m_layout;
    std::string m_lastError;
    QFutureWatcher<LayoutResult>* m_watcher = nullptr;
    // A layout was started and its result has not been taken yet (it may be finished in the worker
    // while its result waits in the event queue).
    bool m_running = false;
    std::vector<QGraphicsItem*> m_boxes; // by screen position
    QGraphicsPathItem* m_selectionFrame = nullptr;
    int m_selected = -1;
};
