#include "editor/mappage.h"

#include "editor/mapview.h"
#include "editor/prompter.h"
#include "model/assistroot.h"
#include "support/error.h"
#include "support/savetextfile.h"

#include <QFontMetricsF>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPathStroker>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>
#include <utility>

namespace {

// What an item of the scene stands for: the data keys and the kinds.
constexpr int kKindKey = 0;
constexpr int kScreenKey = 1;
constexpr int kOptionKey = 2;
enum ItemKind { kBox = 1, kArrow = 2, kBadge = 3 };

constexpr double kMargin = 12;

const QColor kStartFill(0xdb, 0xea, 0xfe);
const QColor kStartLine(0x1d, 0x4e, 0xd8);
const QColor kUnreachableFill(0xfd, 0xe2, 0xe2);
const QColor kUnreachableLine(0xb9, 0x1c, 0x1c);
const QColor kBadgeFill(0xf1, 0xf5, 0xf9);
const QColor kBrokenBadgeFill(0xfe, 0xca, 0xca);
const QColor kSelection(0xf5, 0x9e, 0x0b);

QString Q(const std::string& text) {
    return QString::fromStdString(text).simplified();
}

void Mark(QGraphicsItem* item, ItemKind kind, int screen, int option) {
    item->setData(kKindKey, kind);
    item->setData(kScreenKey, screen);
    item->setData(kOptionKey, option);
}

// An arrow is hit along its line (a few points either side), not inside the area its curve encloses.
class ArrowItem : public QGraphicsPathItem {
public:
    using QGraphicsPathItem::QGraphicsPathItem;
    QPainterPath shape() const override {
        QPainterPathStroker stroker;
        stroker.setWidth(8);
        return stroker.createStroke(path());
    }
};

// The frame around the selected box is only drawn: clicks go through it to the box and arrows below.
class FrameItem : public QGraphicsPathItem {
public:
    using QGraphicsPathItem::QGraphicsPathItem;
    QPainterPath shape() const override { return {}; }
    bool contains(const QPointF&) const override { return false; }
};

QPainterPath RoundedBox(const QRectF& rect) {
    QPainterPath path;
    path.addRoundedRect(rect, 6, 6);
    return path;
}

QGraphicsItem* AddBox(QGraphicsScene& scene, const MapBox& box, const MapBoxPlace& place) {
    const QRectF rect(place.Left + kMargin, place.Top + kMargin, place.Width, place.Height);
    auto* item = new QGraphicsPathItem(RoundedBox(rect));
    QPen pen(Qt::black, 1);
    QBrush brush(Qt::white);
    if (box.Start) {
        pen = QPen(kStartLine, 2.5);
        brush = QBrush(kStartFill);
    } else if (box.Unreachable) {
        pen = QPen(kUnreachableLine, 1.2, Qt::DashLine);
        brush = QBrush(kUnreachableFill);
    }
    item->setPen(pen);
    item->setBrush(brush);
    Mark(item, kBox, box.Screen, -1);
    QString tip = Q(box.ID) + QStringLiteral(": ") + Q(box.Caption);
    if (box.Start)
        tip += QStringLiteral("\nThe assistant starts here.");
    if (box.Unreachable)
        tip += QStringLiteral("\nNo user can reach this screen from the start screen.");
    if (box.DeadEnd)
        tip += QStringLiteral("\nDead end: the screen has no options.");
    item->setToolTip(tip);
    scene.addItem(item);
    if (box.DeadEnd) {
        auto* inner = new QGraphicsPathItem(RoundedBox(rect.adjusted(3, 3, -3, -3)), item);
        inner->setPen(QPen(pen.color(), 1, pen.style()));
    }

    QFont idFont;
    idFont.setPixelSize(10);
    idFont.setBold(true);
    QFont captionFont;
    captionFont.setPixelSize(10);
    const double width = rect.width() - 8;
    double y = rect.top() + 3;
    for (const auto& [text, font] : {std::pair{Q(box.ID), idFont}, std::pair{Q(box.Caption), captionFont}}) {
        const QFontMetricsF metrics(font);
        auto* label = new QGraphicsSimpleTextItem(metrics.elidedText(text, Qt::ElideRight, width), item);
        label->setFont(font);
        label->setPos(rect.center().x() - label->boundingRect().width() / 2, y);
        y += metrics.height() - 1;
    }

    // Badges in a row along the bottom, each its own item with what the option does as tool tip.
    QFont badgeFont;
    badgeFont.setPixelSize(8);
    const QFontMetricsF badgeMetrics(badgeFont);
    double total = 0;
    for (const MapBadge& badge : box.Badges)
        total += badgeMetrics.horizontalAdvance(Q(badge.Label)) + 8 + 3;
    double x = rect.center().x() - std::min(total, width) / 2;
    for (const MapBadge& badge : box.Badges) {
        const double badgeWidth = badgeMetrics.horizontalAdvance(Q(badge.Label)) + 8;
        const QRectF badgeRect(x, rect.bottom() - badgeMetrics.height() - 4, badgeWidth,
                               badgeMetrics.height() + 1);
        QPainterPath path;
        path.addRoundedRect(badgeRect, 3, 3);
        auto* badgeItem = new QGraphicsPathItem(path, item);
        badgeItem->setPen(QPen(badge.Broken ? kUnreachableLine : QColor(0x64, 0x74, 0x8b), 0.8));
        badgeItem->setBrush(badge.Broken ? kBrokenBadgeFill : kBadgeFill);
        badgeItem->setToolTip(Q(badge.Tooltip));
        Mark(badgeItem, kBadge, box.Screen, badge.Option);
        auto* text = new QGraphicsSimpleTextItem(Q(badge.Label), badgeItem);
        text->setFont(badgeFont);
        text->setPos(badgeRect.left() + 4, badgeRect.top() + 0.5);
        x += badgeWidth + 3;
    }
    return item;
}

void AddArrow(QGraphicsScene& scene, const MapArrow& arrow, const MapArrowPlace& place) {
    if (place.Curve.empty())
        return;
    const QPointF offset(kMargin, kMargin);
    auto point = [&offset](const MapPoint& p) { return QPointF(p.X, p.Y) + offset; };
    QPainterPath path(point(place.Curve.front()));
    for (std::size_t i = 1; i + 2 < place.Curve.size(); i += 3)
        path.cubicTo(point(place.Curve[i]), point(place.Curve[i + 1]), point(place.Curve[i + 2]));
    auto* item = new ArrowItem(path);
    item->setPen(QPen(QColor(0x33, 0x41, 0x55), 1.2));
    item->setToolTip(Q(arrow.Label));
    Mark(item, kArrow, arrow.From, arrow.Option);
    scene.addItem(item);
    if (place.HasHead) {
        // A triangle from the curve's end (its base) to the tip.
        const QPointF base = point(place.Curve.back());
        const QPointF tip = point(place.Head);
        const QPointF along = tip - base;
        const QPointF across(-along.y() * 0.35, along.x() * 0.35);
        auto* head = new QGraphicsPolygonItem(QPolygonF({tip, base + across, base - across}), item);
        head->setPen(item->pen());
        head->setBrush(item->pen().color());
    }
    if (place.HasLabel && !arrow.Label.empty()) {
        auto* label = new QGraphicsSimpleTextItem(Q(arrow.Label), item);
        QFont font;
        font.setPixelSize(9);
        label->setFont(font);
        const QRectF bounds = label->boundingRect();
        label->setPos(point(place.LabelCenter) - QPointF(bounds.width() / 2, bounds.height() / 2));
    }
}

} // namespace

MapPage::MapPage(QWidget* parent) : QWidget(parent) {
    m_scene = new QGraphicsScene(this);
    m_view = new MapView(this);
    m_view->setScene(m_scene);
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 0); // busy: Graphviz gives no progress of its own
    m_progress->setMaximumWidth(160);
    m_progress->setTextVisible(false);
    m_progress->hide();
    auto* fit = new QPushButton(tr("&Fit"), this);
    fit->setToolTip(tr("Show the whole map (Ctrl+0)"));
    m_exportSvgButton = new QPushButton(tr("Export S&VG..."), this);
    m_exportPngButton = new QPushButton(tr("Export P&NG..."), this);
    m_exportSvgButton->hide();
    m_exportPngButton->hide();

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_status, 1);
    bar->addWidget(m_progress);
    bar->addWidget(fit);
    bar->addWidget(m_exportSvgButton);
    bar->addWidget(m_exportPngButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);

    connect(fit, &QPushButton::clicked, this, &MapPage::fitToWindow);
    connect(m_exportSvgButton, &QPushButton::clicked, this, [this] { exportWithDialog(true); });
    connect(m_exportPngButton, &QPushButton::clicked, this, [this] { exportWithDialog(false); });
    connect(m_view, &MapView::itemClicked, this, &MapPage::handleClick);
    connect(m_view, &MapView::itemDoubleClicked, this, &MapPage::handleDoubleClick);
    const std::pair<QKeySequence, void (MapPage::*)()> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), &MapPage::zoomIn},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), &MapPage::zoomIn},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), &MapPage::zoomOut},
        {QKeySequence(Qt::CTRL | Qt::Key_0), &MapPage::fitToWindow},
    };
    for (const auto& [key, slot] : keys) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    }

    m_watcher = new QFutureWatcher<LayoutResult>(this);
    connect(m_watcher, &QFutureWatcher<LayoutResult>::finished, this, &MapPage::layoutDone);
    updateStatus();
}

MapPage::~MapPage() {
    m_watcher->waitForFinished();
}

void MapPage::setPrompter(Prompter* prompter) {
    m_prompter = prompter;
    m_exportSvgButton->setVisible(prompter != nullptr);
    m_exportPngButton->setVisible(prompter != nullptr);
}

void MapPage::setAssistant(const TAssistRoot& root) {
    setMap(BuildAssistantMap(root));
}

void MapPage::setMap(AssistantMap map) {
    if (m_hasPicture && !isLayingOut() && map == m_shown) {
        m_latest = std::move(map);
        m_latestLaidOut = true;
        return;
    }
    m_latest = std::move(map);
    m_latestLaidOut = false;
    if (!isLayingOut())
        startLayout();
}

void MapPage::refresh() {
    m_latestLaidOut = false;
    if (!isLayingOut())
        startLayout();
}

bool MapPage::isLayingOut() const {
    return m_running;
}

void MapPage::startLayout() {
    m_latestLaidOut = true;
    m_running = true;
    m_progress->show();
    updateStatus();
    AssistantMap map = m_latest;
    const MapLayoutOptions options = m_options;
    m_watcher->setFuture(QtConcurrent::run([map = std::move(map), options]() mutable {
        LayoutResult result;
        try {
            result.layout = LayOutMap(map, options);
        } catch (const std::exception& e) {
            result.error = e.what();
        }
        result.map = std::move(map);
        return result;
    }));
}

void MapPage::layoutDone() {
    m_running = false;
    LayoutResult result = m_watcher->result();
    m_lastError = result.error;
    if (result.error.empty())
        showPicture(std::move(result.map), std::move(result.layout));
    if (!m_latestLaidOut) {
        startLayout();
        return;
    }
    m_progress->hide();
    updateStatus();
    if (result.error.empty())
        Q_EMIT layoutFinished();
}

void MapPage::showPicture(AssistantMap map, MapLayout layout) {
    // Where the view is: the selected screen's box, else the box nearest the middle of the view, and
    // how far the view's middle is from it. The same screen (by ID) keeps that distance afterwards.
    const QPointF oldCenter = m_view->mapToScene(m_view->viewport()->rect().center());
    std::string anchorID;
    QPointF anchorOffset;
    bool anchored = false;
    if (m_hasPicture) {
        int anchor = m_selected;
        if (anchor < 0 || anchor >= static_cast<int>(m_boxes.size())) {
            double best = 0;
            for (int i = 0; i < static_cast<int>(m_boxes.size()); ++i) {
                const QPointF d = boxCenter(i) - oldCenter;
                const double distance = d.x() * d.x() + d.y() * d.y();
                if (anchor < 0 || distance < best) {
                    anchor = i;
                    best = distance;
                }
            }
        }
        if (anchor >= 0) {
            anchorID = m_shown.Boxes[static_cast<std::size_t>(anchor)].ID;
            anchorOffset = oldCenter - boxCenter(anchor);
            anchored = true;
        }
    }
    const std::string selectedID = m_selected >= 0 && m_selected < static_cast<int>(m_shown.Boxes.size())
                                       ? m_shown.Boxes[static_cast<std::size_t>(m_selected)].ID
                                       : std::string();
    const bool hadSelection = m_selected >= 0;

    m_scene->clear();
    m_selectionFrame = nullptr;
    m_boxes.clear();
    m_shown = std::move(map);
    m_layout = std::move(layout);
    for (std::size_t i = 0; i < m_shown.Boxes.size() && i < m_layout.Boxes.size(); ++i)
        m_boxes.push_back(AddBox(*m_scene, m_shown.Boxes[i], m_layout.Boxes[i]));
    for (std::size_t i = 0; i < m_shown.Arrows.size() && i < m_layout.Arrows.size(); ++i)
        AddArrow(*m_scene, m_shown.Arrows[i], m_layout.Arrows[i]);
    m_scene->setSceneRect(0, 0, m_layout.Width + 2 * kMargin, m_layout.Height + 2 * kMargin);
    // The view's own rectangle is set too: that updates its scroll ranges at once, so centring below
    // lands where it should instead of being clamped to the old picture's size.
    m_view->setSceneRect(m_scene->sceneRect());

    // The selection follows its screen (by position when the ID is still there).
    m_selected = -1;
    if (hadSelection) {
        int again = -1;
        for (std::size_t i = 0; i < m_shown.Boxes.size() && again < 0; ++i)
            if (m_shown.Boxes[i].ID == selectedID)
                again = static_cast<int>(i);
        if (again >= 0) {
            m_selected = again;
            QPainterPath frame;
            frame.addRoundedRect(
                m_boxes[static_cast<std::size_t>(again)]->boundingRect().adjusted(-3, -3, 3, 3), 8, 8);
            m_selectionFrame = new FrameItem(frame);
            m_selectionFrame->setPen(QPen(kSelection, 3));
            m_selectionFrame->setZValue(10);
            m_scene->addItem(m_selectionFrame);
        }
    }

    int anchorNow = -1;
    for (std::size_t i = 0; anchored && i < m_shown.Boxes.size() && anchorNow < 0; ++i)
        if (m_shown.Boxes[i].ID == anchorID)
            anchorNow = static_cast<int>(i);
    if (!m_hasPicture)
        m_view->fitAll();
    else if (anchorNow >= 0)
        m_view->centerOn(boxCenter(anchorNow) + anchorOffset);
    else
        m_view->centerOn(oldCenter);
    m_hasPicture = true;
}

QPointF MapPage::boxCenter(int screen) const {
    if (screen < 0 || screen >= static_cast<int>(m_boxes.size()))
        return {};
    return m_boxes[static_cast<std::size_t>(screen)]->boundingRect().center();
}

void MapPage::selectScreen(int screen) {
    if (m_selectionFrame != nullptr) {
        m_scene->removeItem(m_selectionFrame);
        delete m_selectionFrame;
        m_selectionFrame = nullptr;
    }
    m_selected = -1;
    if (screen < 0 || screen >= static_cast<int>(m_boxes.size()))
        return;
    m_selected = screen;
    const QRectF rect = m_boxes[static_cast<std::size_t>(screen)]->boundingRect();
    QPainterPath frame;
    frame.addRoundedRect(rect.adjusted(-3, -3, 3, 3), 8, 8);
    m_selectionFrame = new FrameItem(frame);
    m_selectionFrame->setPen(QPen(kSelection, 3));
    m_selectionFrame->setZValue(10);
    m_scene->addItem(m_selectionFrame);
    m_view->ensureVisible(rect, 40, 40);
}

QString MapPage::statusText() const {
    return m_status->text();
}

void MapPage::updateStatus() {
    const QLocale locale;
    QString text;
    if (isLayingOut())
        text = tr("Laying out %1 screens...").arg(locale.toString(static_cast<int>(m_latest.Boxes.size())));
    else if (!m_lastError.empty())
        text = QString::fromStdString(m_lastError);
    else if (!m_hasPicture)
        text = tr("No map yet.");
    else
        text = tr("Screens: %1, unreachable: %2, dead ends: %3.")
                   .arg(locale.toString(static_cast<int>(m_shown.Boxes.size())))
                   .arg(locale.toString(m_shown.UnreachableCount))
                   .arg(locale.toString(m_shown.DeadEndCount));
    if (m_hasPicture && m_layout.Fast)
        text += QStringLiteral(" ") + tr("Large assistant: the faster layout is used (straight arrows).");
    m_status->setText(text);
}

std::optional<MapPage::Target> MapPage::targetOf(QGraphicsItem* item) const {
    for (; item != nullptr; item = item->parentItem()) {
        if (!item->data(kKindKey).isValid())
            continue;
        return Target{item->data(kScreenKey).toInt(), item->data(kOptionKey).toInt()};
    }
    return std::nullopt;
}

void MapPage::handleClick(QGraphicsItem* item) {
    const std::optional<Target> target = targetOf(item);
    if (!target)
        return;
    selectScreen(target->screen);
    if (target->option < 0)
        Q_EMIT screenClicked(target->screen);
    else
        Q_EMIT optionClicked(target->screen, target->option);
}

void MapPage::handleDoubleClick(QGraphicsItem* item) {
    if (const std::optional<Target> target = targetOf(item))
        Q_EMIT itemActivated(target->screen, target->option);
}

void MapPage::zoomIn() {
    m_view->zoomBy(1.25);
}
void MapPage::zoomOut() {
    m_view->zoomBy(1 / 1.25);
}
void MapPage::fitToWindow() {
    m_view->fitAll();
}

void MapPage::exportSvg(const QString& fileName) const {
    SaveTextToFile(RenderMap(m_shown, "svg", m_options), fileName.toStdString());
}

void MapPage::exportPng(const QString& fileName) const {
    // The picture as the page draws it, at twice the scene's size so that text stays sharp.
    const QRectF bounds = m_scene->sceneRect();
    QImage image((bounds.size() * 2).toSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QGraphicsItem* frame = m_selectionFrame;
        if (frame != nullptr)
            frame->hide();
        m_scene->render(&painter, QRectF(QPointF(0, 0), image.size()), bounds);
        if (frame != nullptr)
            frame->show();
    }
    if (!image.save(fileName, "PNG"))
        throw AppError("Cannot write the file \"" + fileName.toStdString() + "\".");
}

void MapPage::exportWithDialog(bool svg) {
    if (m_prompter == nullptr)
        return;
    Prompter::FileRequest request;
    request.title = svg ? "Export map as SVG" : "Export map as PNG";
    request.proposedName = (m_shown.AssistantID.empty() ? std::string("map") : m_shown.AssistantID) +
                           (svg ? "-map.svg" : "-map.png");
    request.filters = {svg ? "SVG pictures (*.svg)" : "PNG pictures (*.png)", "All files (*)"};
    request.defaultExtension = svg ? "svg" : "png";
    const std::optional<std::string> name = m_prompter->SaveFileName(request);
    if (!name)
        return;
    try {
        if (svg)
            exportSvg(QString::fromStdString(*name));
        else
            exportPng(QString::fromStdString(*name));
    } catch (const std::exception& e) {
        m_prompter->Message(Prompter::MessageKind::ErrorOk, e.what());
    }
}
