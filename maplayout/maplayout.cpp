#include "maplayout/maplayout.h"

#include "support/error.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace {

std::mutex& GraphvizLock() {
    static std::mutex lock;
    return lock;
}

// One Graphviz context for the process, made on first use (it loads the plugin list once). Call with
// the lock held. It stays alive until the process ends.
GVC_t* Context() {
    static GVC_t* context = gvContext();
    if (context == nullptr)
        throw AppError("Graphviz could not be started.");
    return context;
}

// Graphviz reads escape sequences (\n, \l, \N, \G...) in labels: a backslash in an assistant's text is
// doubled so that it stays a backslash, and control characters (IDs and captions may hold line
// breaks) become blanks.
std::string LabelText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == '\\')
            result += "\\\\";
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            result += ' ';
        else
            result += c;
    }
    return result;
}

// At most `limit` characters (UTF-8 sequences are kept whole), with "..." when shortened.
std::string Shortened(std::string_view text, std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (count++ == limit)
            return std::string(text.substr(0, i)) + "...";
    }
    return std::string(text);
}

// Collects what agwrite writes.
int PutString(void* channel, const char* text) {
    static_cast<std::string*>(channel)->append(text);
    return 0;
}
int Flush(void*) {
    return 0;
}

Agiodisc_t StringIo = {nullptr, PutString, Flush};

struct GraphDeleter {
    void operator()(Agraph_t* graph) const { agclose(graph); }
};
using GraphPtr = std::unique_ptr<Agraph_t, GraphDeleter>;

void Set(void* object, const char* name, const std::string& value) {
    agsafeset(object, const_cast<char*>(name), const_cast<char*>(value.c_str()), const_cast<char*>(""));
}

// The Graphviz graph of the map; `io` receives agwrite's output when given.
GraphPtr BuildGraph(const AssistantMap& map, const MapLayoutOptions& options, Agdisc_t* discipline,
                    std::vector<Agnode_t*>& nodes, std::vector<Agedge_t*>& edges) {
    GraphPtr graph(agopen(const_cast<char*>("map"), Agdirected, discipline));
    if (!graph)
        throw AppError("Graphviz could not make the map's graph.");
    Agraph_t* g = graph.get();
    const bool fast = UsesFastLayout(map, options);
    // Graph attributes first: cgraph declares each attribute with its default before the first use.
    agattr(g, AGRAPH, const_cast<char*>("rankdir"), const_cast<char*>("TB"));
    agattr(g, AGRAPH, const_cast<char*>("nodesep"), const_cast<char*>("0.35"));
    agattr(g, AGRAPH, const_cast<char*>("ranksep"), const_cast<char*>("0.5"));
    agattr(g, AGRAPH, const_cast<char*>("fontname"), const_cast<char*>("Helvetica"));
    if (fast) {
        agattr(g, AGRAPH, const_cast<char*>("splines"), const_cast<char*>("line"));
        agattr(g, AGRAPH, const_cast<char*>("mclimit"), const_cast<char*>("0.1"));
        agattr(g, AGRAPH, const_cast<char*>("nslimit"), const_cast<char*>("1"));
        agattr(g, AGRAPH, const_cast<char*>("nslimit1"), const_cast<char*>("1"));
    }
    agattr(g, AGNODE, const_cast<char*>("shape"), const_cast<char*>("box"));
    agattr(g, AGNODE, const_cast<char*>("style"), const_cast<char*>("rounded,filled"));
    agattr(g, AGNODE, const_cast<char*>("fillcolor"), const_cast<char*>("white"));
    agattr(g, AGNODE, const_cast<char*>("color"), const_cast<char*>("black"));
    agattr(g, AGNODE, const_cast<char*>("penwidth"), const_cast<char*>("1"));
    agattr(g, AGNODE, const_cast<char*>("fontname"), const_cast<char*>("Helvetica"));
    agattr(g, AGNODE, const_cast<char*>("fontsize"), const_cast<char*>("10"));
    agattr(g, AGNODE, const_cast<char*>("label"), const_cast<char*>(""));
    agattr(g, AGNODE, const_cast<char*>("tooltip"), const_cast<char*>(""));
    agattr(g, AGEDGE, const_cast<char*>("fontname"), const_cast<char*>("Helvetica"));
    agattr(g, AGEDGE, const_cast<char*>("fontsize"), const_cast<char*>("9"));
    agattr(g, AGEDGE, const_cast<char*>("label"), const_cast<char*>(""));
    agattr(g, AGEDGE, const_cast<char*>("tooltip"), const_cast<char*>(""));

    nodes.reserve(map.Boxes.size());
    for (const MapBox& box : map.Boxes) {
        const std::string name = "s" + std::to_string(box.Screen);
        Agnode_t* node = agnode(g, const_cast<char*>(name.c_str()), 1);
        Set(node, "label", BoxLabelText(box));
        std::string tooltip = LabelText(box.ID + ": " + box.Caption);
        for (const MapBadge& badge : box.Badges)
            tooltip += "&#10;" + LabelText(badge.Tooltip);
        Set(node, "tooltip", tooltip);
        if (box.Start) {
            Set(node, "fillcolor", "#dbeafe");
            Set(node, "penwidth", "2.5");
            Set(node, "color", "#1d4ed8");
        } else if (box.Unreachable) {
            Set(node, "fillcolor", "#fde2e2");
            Set(node, "color", "#b91c1c");
            Set(node, "style", "rounded,filled,dashed");
        }
        if (box.DeadEnd)
            Set(node, "peripheries", "2");
        nodes.push_back(node);
    }
    edges.reserve(map.Arrows.size());
    for (std::size_t i = 0; i < map.Arrows.size(); ++i) {
        const MapArrow& arrow = map.Arrows[i];
        const std::string name = "e" + std::to_string(i);
        Agedge_t* edge =
            agedge(g, nodes[static_cast<std::size_t>(arrow.From)], nodes[static_cast<std::size_t>(arrow.To)],
                   const_cast<char*>(name.c_str()), 1);
        // Edge labels take part in dot's ranking as nodes of their own, which makes a large layout
        // several times slower: the faster settings leave them out (LayOutMap then puts the caption at
        // the middle of the arrow) and keep the caption as the arrow's tooltip.
        if (!arrow.Label.empty())
            Set(edge, fast ? "tooltip" : "label", LabelText(Shortened(arrow.Label, 30)));
        edges.push_back(edge);
    }
    return graph;
}

// Lays the graph out; returns the layout lock-step with the nodes and edges.
void Layout(Agraph_t* graph) {
    if (gvLayout(Context(), graph, "dot") != 0)
        throw AppError("Graphviz could not lay out the map.");
}

MapPoint Flipped(pointf p, double top) {
    return MapPoint{p.x, top - p.y};
}

// The point halfway along the middle piece of a Bezier path.
MapPoint Middle(const std::vector<MapPoint>& curve) {
    if (curve.size() < 4)
        return curve.empty() ? MapPoint{} : curve.front();
    const std::size_t pieces = (curve.size() - 1) / 3;
    const std::size_t first = 3 * (pieces / 2);
    const MapPoint& a = curve[first];
    const MapPoint& b = curve[first + 1];
    const MapPoint& c = curve[first + 2];
    const MapPoint& d = curve[first + 3];
    return MapPoint{(a.X + 3 * b.X + 3 * c.X + d.X) / 8, (a.Y + 3 * b.Y + 3 * c.Y + d.Y) / 8};
}

} // namespace

bool UsesFastLayout(const AssistantMap& map, const MapLayoutOptions& options) {
    return static_cast<long long>(map.Boxes.size()) > options.FastAbove;
}

std::string BoxLabelText(const MapBox& box) {
    std::string label = LabelText(Shortened(box.ID, 30)) + "\\n" + LabelText(Shortened(box.Caption, 36));
    if (!box.Badges.empty()) {
        std::string badges;
        for (const MapBadge& badge : box.Badges)
            badges += (badges.empty() ? "[" : " [") + badge.Label + "]";
        label += "\\n" + LabelText(Shortened(badges, 48));
    }
    return label;
}

MapLayout LayOutMap(const AssistantMap& map, const MapLayoutOptions& options) {
    MapLayout result;
    result.Fast = UsesFastLayout(map, options);
    if (map.Boxes.empty())
        return result;
    std::lock_guard<std::mutex> hold(GraphvizLock());
    std::vector<Agnode_t*> nodes;
    std::vector<Agedge_t*> edges;
    GraphPtr graph = BuildGraph(map, options, nullptr, nodes, edges);
    Layout(graph.get());
    const boxf bounds = GD_bb(graph.get());
    const double top = bounds.UR.y;
    result.Width = bounds.UR.x - bounds.LL.x;
    result.Height = bounds.UR.y - bounds.LL.y;
    result.Boxes.reserve(nodes.size());
    for (Agnode_t* node : nodes) {
        const double width = ND_width(node) * 72.0;
        const double height = ND_height(node) * 72.0;
        const MapPoint center = Flipped(ND_coord(node), top);
        result.Boxes.push_back(MapBoxPlace{center.X - width / 2, center.Y - height / 2, width, height});
    }
    result.Arrows.reserve(edges.size());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        Agedge_t* edge = edges[i];
        MapArrowPlace& place = result.Arrows.emplace_back();
        if (const splines* spl = ED_spl(edge)) {
            for (int b = 0; b < spl->size; ++b) {
                const bezier& piece = spl->list[b];
                // Pieces after the first continue the path: their first point repeats the last one.
                for (int k = (b == 0 || place.Curve.empty()) ? 0 : 1; k < piece.size; ++k)
                    place.Curve.push_back(Flipped(piece.list[k], top));
                if (piece.eflag) {
                    place.HasHead = true;
                    place.Head = Flipped(piece.ep, top);
                }
            }
        }
        if (const textlabel_t* label = ED_label(edge); label != nullptr && label->set) {
            place.HasLabel = true;
            place.LabelCenter = Flipped(label->pos, top);
        } else if (!map.Arrows[i].Label.empty()) {
            place.HasLabel = true;
            place.LabelCenter = Middle(place.Curve);
        }
    }
    gvFreeLayout(Context(), graph.get());
    return result;
}

std::string MapToDot(const AssistantMap& map, const MapLayoutOptions& options) {
    std::lock_guard<std::mutex> hold(GraphvizLock());
    Agdisc_t discipline = {&AgMemDisc, &AgIdDisc, &StringIo};
    std::vector<Agnode_t*> nodes;
    std::vector<Agedge_t*> edges;
    GraphPtr graph = BuildGraph(map, options, &discipline, nodes, edges);
    std::string text;
    if (agwrite(graph.get(), &text) != 0)
        throw AppError("Graphviz could not write the map's graph.");
    return text;
}

std::string RenderMap(const AssistantMap& map, std::string_view format, const MapLayoutOptions& options) {
    std::lock_guard<std::mutex> hold(GraphvizLock());
    std::vector<Agnode_t*> nodes;
    std::vector<Agedge_t*> edges;
    GraphPtr graph = BuildGraph(map, options, nullptr, nodes, edges);
    Layout(graph.get());
    char* data = nullptr;
    unsigned int length = 0;
    const std::string formatText(format);
    const int status = gvRenderData(Context(), graph.get(), formatText.c_str(), &data, &length);
    std::string bytes;
    if (status == 0 && data != nullptr)
        bytes.assign(data, length);
    if (data != nullptr)
        gvFreeRenderData(data);
    gvFreeLayout(Context(), graph.get());
    if (status != 0)
        throw AppError("Graphviz could not write the map as " + formatText + ".");
    return bytes;
}
