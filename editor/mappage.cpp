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
    scene_ = new QGraphicsScene(this);
    view_ = new MapView(this);
    view_->setScene(scene_);
    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 0); // busy: Graphviz gives no progress of its own
    progress_->setMaximumWidth(160);
    progress_->setTextVisible(false);
    progress_->hide();
    auto* fit = new QPushButton(tr("&Fit"), this);
    fit->setToolTip(tr("Show the whole map (Ctrl+0)"));
    exportSvgButton_ = new QPushButton(tr("Export S&VG..."), this);
    exportPngButton_ = new QPushButton(tr("Export P&NG..."), this);
    exportSvgButton_->hide();
    exportPngButton_->hide();

    auto* bar = new QHBoxLayout;
    bar->addWidget(status_, 1);
    bar->addWidget(progress_);
    bar->addWidget(fit);
    bar->addWidget(exportSvgButton_);
    bar->addWidget(exportPngButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);

    connect(fit, &QPushButton::clicked, this, &MapPage::fitToWindow);
    connect(exportSvgButton_, &QPushButton::clicked, this, [this] { exportWithDialog(true); });
    connect(exportPngButton_, &QPushButton::clicked, this, [this] { exportWithDialog(false); });
    connect(view_, &MapView::itemClicked, this, &MapPage::handleClick);
    connect(view_, &MapView::itemDoubleClicked, this, &MapPage::handleDoubleClick);
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

    watcher_ = new QFutureWatcher<LayoutResult>(this);
    connect(watcher_, &QFutureWatcher<LayoutResult>::finished, this, &MapPage::layoutDone);
    updateStatus();
}

MapPage::~MapPage() {
    watcher_->waitForFinished();
}

void MapPage::setPrompter(Prompter* prompter) {
    prompter_ = prompter;
    exportSvgButton_->setVisible(prompter != nullptr);
    exportPngButton_->setVisible(prompter != nullptr);
}

void MapPage::setAssistant(const TAssistRoot& root) {
    setMap(BuildAssistantMap(root));
}

void MapPage::setMap(AssistantMap map) {
    if (hasPicture_ && !isLayingOut() && map == shown_) {
        latest_ = std::move(map);
        latestLaidOut_ = true;
        return;
    }
    latest_ = std::move(map);
    latestLaidOut_ = false;
    if (!isLayingOut())
        startLayout();
}

void MapPage::refresh() {
    latestLaidOut_ = false;
    if (!isLayingOut())
        startLayout();
}

bool MapPage::isLayingOut() const {
    return running_;
}

void MapPage::startLayout() {
    latestLaidOut_ = true;
    running_ = true;
    progress_->show();
    updateStatus();
    AssistantMap map = latest_;
    const MapLayoutOptions options = options_;
    watcher_->setFuture(QtConcurrent::run([map = std::move(map), options]() mutable {
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
    running_ = false;
    LayoutResult result = watcher_->result();
    lastError_ = result.error;
    if (result.error.empty())
        showPicture(std::move(result.map), std::move(result.layout));
    if (!latestLaidOut_) {
        startLayout();
        return;
    }
    progress_->hide();
    updateStatus();
    if (result.error.empty())
        Q_EMIT layoutFinished();
}

void MapPage::showPicture(AssistantMap map, MapLayout layout) {
    // Where the view is: the selected screen's box, else the box nearest the middle of the view, and
    // how far the view's middle is from it. The same screen (by ID) keeps that distance afterwards.
    const QPointF oldCenter = view_->mapToScene(view_->viewport()->rect().center());
    std::string anchorID;
    QPointF anchorOffset;
    bool anchored = false;
    if (hasPicture_) {
        int anchor = selected_;
        if (anchor < 0 || anchor >= static_cast<int>(boxes_.size())) {
            double best = 0;
            for (int i = 0; i < static_cast<int>(boxes_.size()); ++i) {
                const QPointF d = boxCenter(i) - oldCenter;
                const double distance = d.x() * d.x() + d.y() * d.y();
                if (anchor < 0 || distance < best) {
                    anchor = i;
                    best = distance;
                }
            }
        }
        if (anchor >= 0) {
            anchorID = shown_.Boxes[static_cast<std::size_t>(anchor)].ID;
            anchorOffset = oldCenter - boxCenter(anchor);
            anchored = true;
        }
    }
    const std::string selectedID = selected_ >= 0 && selected_ < static_cast<int>(shown_.Boxes.size())
                                       ? shown_.Boxes[static_cast<std::size_t>(selected_)].ID
                                       : std::string();
    const bool hadSelection = selected_ >= 0;

    scene_->clear();
    selectionFrame_ = nullptr;
    boxes_.clear();
    shown_ = std::move(map);
    layout_ = std::move(layout);
    for (std::size_t i = 0; i < shown_.Boxes.size() && i < layout_.Boxes.size(); ++i)
        boxes_.push_back(AddBox(*scene_, shown_.Boxes[i], layout_.Boxes[i]));
    for (std::size_t i = 0; i < shown_.Arrows.size() && i < layout_.Arrows.size(); ++i)
        AddArrow(*scene_, shown_.Arrows[i], layout_.Arrows[i]);
    scene_->setSceneRect(0, 0, layout_.Width + 2 * kMargin, layout_.Height + 2 * kMargin);
    // The view's own rectangle is set too: that updates its scroll ranges at once, so centring below
    // lands where it should instead of being clamped to the old picture's size.
    view_->setSceneRect(scene_->sceneRect());

    // The selection follows its screen (by position when the ID is still there).
    selected_ = -1;
    if (hadSelection) {
        int again = -1;
        for (std::size_t i = 0; i < shown_.Boxes.size() && again < 0; ++i)
            if (shown_.Boxes[i].ID == selectedID)
                again = static_cast<int>(i);
        if (again >= 0) {
            selected_ = again;
            QPainterPath frame;
            frame.addRoundedRect(
                boxes_[static_cast<std::size_t>(again)]->boundingRect().adjusted(-3, -3, 3, 3), 8, 8);
            selectionFrame_ = new FrameItem(frame);
            selectionFrame_->setPen(QPen(kSelection, 3));
            selectionFrame_->setZValue(10);
            scene_->addItem(selectionFrame_);
        }
    }

    int anchorNow = -1;
    for (std::size_t i = 0; anchored && i < shown_.Boxes.size() && anchorNow < 0; ++i)
        if (shown_.Boxes[i].ID == anchorID)
            anchorNow = static_cast<int>(i);
    if (!hasPicture_)
        view_->fitAll();
    else if (anchorNow >= 0)
        view_->centerOn(boxCenter(anchorNow) + anchorOffset);
    else
        view_->centerOn(oldCenter);
    hasPicture_ = true;
}

QPointF MapPage::boxCenter(int screen) const {
    if (screen < 0 || screen >= static_cast<int>(boxes_.size()))
        return {};
    return boxes_[static_cast<std::size_t>(screen)]->boundingRect().center();
}

void MapPage::selectScreen(int screen) {
    if (selectionFrame_ != nullptr) {
        scene_->removeItem(selectionFrame_);
        delete selectionFrame_;
        selectionFrame_ = nullptr;
    }
    selected_ = -1;
    if (screen < 0 || screen >= static_cast<int>(boxes_.size()))
        return;
    selected_ = screen;
    const QRectF rect = boxes_[static_cast<std::size_t>(screen)]->boundingRect();
    QPainterPath frame;
    frame.addRoundedRect(rect.adjusted(-3, -3, 3, 3), 8, 8);
    selectionFrame_ = new FrameItem(frame);
    selectionFrame_->setPen(QPen(kSelection, 3));
    selectionFrame_->setZValue(10);
    scene_->addItem(selectionFrame_);
    view_->ensureVisible(rect, 40, 40);
}

QString MapPage::statusText() const {
    return status_->text();
}

void MapPage::updateStatus() {
    const QLocale locale;
    QString text;
    if (isLayingOut())
        text = tr("Laying out %1 screens...").arg(locale.toString(static_cast<int>(latest_.Boxes.size())));
    else if (!lastError_.empty())
        text = QString::fromStdString(lastError_);
    else if (!hasPicture_)
        text = tr("No map yet.");
    else
        text = tr("Screens: %1, unreachable: %2, dead ends: %3.")
                   .arg(locale.toString(static_cast<int>(shown_.Boxes.size())))
                   .arg(locale.toString(shown_.UnreachableCount))
                   .arg(locale.toString(shown_.DeadEndCount));
    if (hasPicture_ && layout_.Fast)
        text += QStringLiteral(" ") + tr("Large assistant: the faster layout is used (straight arrows).");
    status_->setText(text);
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
    view_->zoomBy(1.25);
}
void MapPage::zoomOut() {
    view_->zoomBy(1 / 1.25);
}
void MapPage::fitToWindow() {
    view_->fitAll();
}

void MapPage::exportSvg(const QString& fileName) const {
    SaveTextToFile(RenderMap(shown_, "svg", options_), fileName.toStdString());
}

void MapPage::exportPng(const QString& fileName) const {
    // The picture as the page draws it, at twice the scene's size so that text stays sharp.
    const QRectF bounds = scene_->sceneRect();
    QImage image((bounds.size() * 2).toSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QGraphicsItem* frame = selectionFrame_;
        if (frame != nullptr)
            frame->hide();
        scene_->render(&painter, QRectF(QPointF(0, 0), image.size()), bounds);
        if (frame != nullptr)
            frame->show();
    }
    if (!image.save(fileName, "PNG"))
        throw AppError("Cannot write the file \"" + fileName.toStdString() + "\".");
}

void MapPage::exportWithDialog(bool svg) {
    if (prompter_ == nullptr)
        return;
    Prompter::FileRequest request;
    request.title = svg ? "Export map as SVG" : "Export map as PNG";
    request.proposedName = (shown_.AssistantID.empty() ? std::string("map") : shown_.AssistantID) +
                           (svg ? "-map.svg" : "-map.png");
    request.filters = {svg ? "SVG pictures (*.svg)" : "PNG pictures (*.png)", "All files (*)"};
    request.defaultExtension = svg ? "svg" : "png";
    const std::optional<std::string> name = prompter_->SaveFileName(request);
    if (!name)
        return;
    try {
        if (svg)
            exportSvg(QString::fromStdString(*name));
        else
            exportPng(QString::fromStdString(*name));
    } catch (const std::exception& e) {
        prompter_->Message(Prompter::MessageKind::ErrorOk, e.what());
    }
}
