#pragma once
// Lays out an assistant map with Graphviz (the `dot` layout through the gvc and cgraph libraries) and
// writes it as DOT text, SVG or PNG through Graphviz's own writers.
//
// Every routine builds the same Graphviz graph from the map: one node per box ("s" + screen position,
// labelled with the screen's ID, its caption and a line of badges), one edge per arrow labelled with the
// option's caption. Above `FastAbove` boxes the graph asks `dot` for less work (straight arrows, fewer
// crossing-reduction and ranking passes), which keeps large assistants usable at the price of a less
// tidy picture. Coordinates are in points (1/72 inch) with the origin at the top left and y growing
// downwards, as a QGraphicsScene has them.
//
// Graphviz keeps global state and is not safe to call from two threads at once: every routine here
// holds one process-wide lock while it uses Graphviz, so callers may use any thread.
#include "model/assistantmap.h"

#include <string>
#include <string_view>
#include <vector>

struct MapPoint {
    double X = 0;
    double Y = 0;
};

struct MapBoxPlace {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

struct MapArrowPlace {
    // A cubic Bezier path: the first point, then three points (two controls and an end) per piece.
    std::vector<MapPoint> Curve;
    // The arrowhead runs from the last point of Curve to Head (Graphviz ends the curve at its base).
    bool HasHead = false;
    MapPoint Head;
    bool HasLabel = false;
    MapPoint LabelCenter;
};

struct MapLayout {
    double Width = 0;
    double Height = 0;
    std::vector<MapBoxPlace> Boxes;    // by box, as in the map
    std::vector<MapArrowPlace> Arrows; // by arrow, as in the map
    bool Fast = false;                 // laid out with the faster settings
};

struct MapLayoutOptions {
    // Maps with more boxes than this are laid out with the faster settings.
    int FastAbove = 400;
};

bool UsesFastLayout(const AssistantMap& map, const MapLayoutOptions& options = {});

// The positions of the boxes, arrows and arrow labels. Throws AppError when Graphviz fails.
MapLayout LayOutMap(const AssistantMap& map, const MapLayoutOptions& options = {});

// The graph as DOT text, with the attributes the layout uses (`dot -Tsvg` draws the same picture).
std::string MapToDot(const AssistantMap& map, const MapLayoutOptions& options = {});

// The laid-out map in a Graphviz output format ("svg", "png"); the bytes of the file. Throws AppError
// when Graphviz fails or does not know the format.
std::string RenderMap(const AssistantMap& map, std::string_view format, const MapLayoutOptions& options = {});

// The text of a box's label as Graphviz draws it: the ID, the caption (shortened) and the badges.
std::string BoxLabelText(const MapBox& box);
