#include "maplayout/maplayout.h"

#include "assistantbuilder.h"
#include "model/assistroot.h"
#include "support/error.h"

#include <gtest/gtest.h>

#include <future>
#include <string>

using testbuild::Option;
using testbuild::Screen;

namespace {

// S1 (start) -> S2 -> S3 -> back to S1, S1 -> S3 by a button without caption, S4 unreachable with a
// web page, S5 a dead end nothing reaches.
void MakeSmallMap(TAssistRoot& root) {
    root.FirstScreen = "S1";
    TAssistScreen& s1 = Screen(root, "S1", "Welcome");
    Option(s1, "S1.1", akGoto, "S2", "Next");
    Option(s1, "S1.2", akGotoButton, "S3", "");
    TAssistScreen& s2 = Screen(root, "S2", "Middle");
    Option(s2, "S2.1", akGoto, "S3", "On");
    TAssistScreen& s3 = Screen(root, "S3", "End");
    Option(s3, "S3.1", akGoto, "S1", "Again");
    TAssistScreen& s4 = Screen(root, "S4", "Orphan");
    Option(s4, "S4.1", akInternet, "https://example.org/", "Site");
    Screen(root, "S5", "Alone");
}

bool Inside(MapPoint p, const MapBoxPlace& box, double margin) {
    return p.X >= box.Left - margin && p.X <= box.Left + box.Width + margin && p.Y >= box.Top - margin &&
           p.Y <= box.Top + box.Height + margin;
}

bool Overlap(const MapBoxPlace& a, const MapBoxPlace& b) {
    return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
           b.Top < a.Top + a.Height;
}

// Boxes lie inside the drawing and apart; every arrow starts at its screen's box and its head ends at
// the target's box; a label is placed exactly when the option has a caption.
void ExpectConsistent(const AssistantMap& map, const MapLayout& layout) {
    ASSERT_EQ(layout.Boxes.size(), map.Boxes.size());
    ASSERT_EQ(layout.Arrows.size(), map.Arrows.size());
    for (std::size_t i = 0; i < layout.Boxes.size(); ++i) {
        const MapBoxPlace& box = layout.Boxes[i];
        EXPECT_GT(box.Width, 0) << i;
        EXPECT_GT(box.Height, 0) << i;
        EXPECT_GE(box.Left, -0.5) << i;
        EXPECT_GE(box.Top, -0.5) << i;
        EXPECT_LE(box.Left + box.Width, layout.Width + 0.5) << i;
        EXPECT_LE(box.Top + box.Height, layout.Height + 0.5) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(Overlap(box, layout.Boxes[j])) << i << " and " << j;
    }
    for (std::size_t i = 0; i < layout.Arrows.size(); ++i) {
        const MapArrowPlace& place = layout.Arrows[i];
        const MapArrow& arrow = map.Arrows[i];
        ASSERT_GE(place.Curve.size(), 4u) << i;
        EXPECT_EQ((place.Curve.size() - 1) % 3, 0u) << i;
        EXPECT_TRUE(Inside(place.Curve.front(), layout.Boxes[static_cast<std::size_t>(arrow.From)], 2)) << i;
        ASSERT_TRUE(place.HasHead) << i;
        EXPECT_TRUE(Inside(place.Head, layout.Boxes[static_cast<std::size_t>(arrow.To)], 2)) << i;
        EXPECT_EQ(place.HasLabel, !arrow.Label.empty()) << i;
    }
}

TEST(MapLayoutTest, PlacesBoxesArrowsAndLabels) {
    TAssistRoot root(testbuild::User);
    MakeSmallMap(root);
    const AssistantMap map = BuildAssistantMap(root);
    const MapLayout layout = LayOutMap(map);
    EXPECT_FALSE(layout.Fast);
    ExpectConsistent(map, layout);
    // Top to bottom along the chain S1 -> S2 -> S3.
    EXPECT_LT(layout.Boxes[0].Top, layout.Boxes[1].Top);
    EXPECT_LT(layout.Boxes[1].Top, layout.Boxes[2].Top);
    // A box with badges has room for their line.
    EXPECT_GT(layout.Boxes[3].Height, layout.Boxes[1].Height);
}

TEST(MapLayoutTest, FasterSettingsAboveTheChosenSize) {
    TAssistRoot root(testbuild::User);
    MakeSmallMap(root);
    const AssistantMap map = BuildAssistantMap(root);
    EXPECT_FALSE(UsesFastLayout(map, MapLayoutOptions{5}));
    EXPECT_TRUE(UsesFastLayout(map, MapLayoutOptions{4}));
    const MapLayout layout = LayOutMap(map, MapLayoutOptions{4});
    EXPECT_TRUE(layout.Fast);
    ExpectConsistent(map, layout);
    // The faster settings are part of the graph, so the DOT text shows them; the normal one has none.
    // Captions leave the ranking: tooltips then, labels otherwise.
    const std::string fast = MapToDot(map, MapLayoutOptions{4});
    EXPECT_NE(fast.find("splines=line"), std::string::npos) << fast;
    EXPECT_NE(fast.find("tooltip=Next"), std::string::npos) << fast;
    EXPECT_EQ(fast.find("label=Next"), std::string::npos) << fast;
    const std::string normal = MapToDot(map, MapLayoutOptions{5});
    EXPECT_EQ(normal.find("splines"), std::string::npos) << normal;
    EXPECT_NE(normal.find("label=Next"), std::string::npos) << normal;
    // The caption of the fast layout sits on its arrow, between the two boxes of S1 -> S2.
    const MapArrowPlace& next = layout.Arrows[0];
    EXPECT_GT(next.LabelCenter.Y, layout.Boxes[0].Top + layout.Boxes[0].Height);
    EXPECT_LT(next.LabelCenter.Y, layout.Boxes[1].Top);
}

TEST(MapLayoutTest, EmptyAssistantGivesAnEmptyLayout) {
    TAssistRoot root(testbuild::User);
    const MapLayout layout = LayOutMap(BuildAssistantMap(root));
    EXPECT_TRUE(layout.Boxes.empty());
    EXPECT_TRUE(layout.Arrows.empty());
}

TEST(MapLayoutTest, LayoutsFromTwoThreadsAtOnceAreBothWhole) {
    TAssistRoot root(testbuild::User);
    MakeSmallMap(root);
    const AssistantMap map = BuildAssistantMap(root);
    auto first = std::async(std::launch::async, [&map] { return LayOutMap(map); });
    auto second = std::async(std::launch::async, [&map] { return LayOutMap(map); });
    ExpectConsistent(map, first.get());
    ExpectConsistent(map, second.get());
}

TEST(MapDotTest, WritesBoxesArrowsAndMarks) {
    TAssistRoot root(testbuild::User);
    MakeSmallMap(root);
    const std::string dot = MapToDot(BuildAssistantMap(root));
    EXPECT_EQ(dot.rfind("digraph map {", 0), 0u) << dot;
    for (const char* piece :
         {"s0 -> s1", "s1 -> s2", "s2 -> s0", "s0 -> s2", "label=Next", "\"S1\\nWelcome\"",
          "\"S4\\nOrphan\\n[web]\"", "peripheries=2", "#dbeafe", "dashed"})
        EXPECT_NE(dot.find(piece), std::string::npos) << piece << "\n" << dot;
}

TEST(MapDotTest, TextsStayTextForGraphviz) {
    TAssistRoot root(testbuild::User);
    root.FirstScreen = "A\\N";
    Screen(root, "A\\N", "line\none \"quoted\"");
    const std::string dot = MapToDot(BuildAssistantMap(root));
    // The backslash is doubled (Graphviz would read \N as the node's name), the line break is a blank,
    // and cgraph quotes the double quotes.
    EXPECT_NE(dot.find("A\\\\N\\nline one \\\"quoted\\\""), std::string::npos) << dot;
    const std::string svg = RenderMap(BuildAssistantMap(root), "svg");
    EXPECT_NE(svg.find(">A\\N</text>"), std::string::npos) << svg;
}

TEST(MapRenderTest, WritesSvgAndPngThroughGraphviz) {
    TAssistRoot root(testbuild::User);
    MakeSmallMap(root);
    const AssistantMap map = BuildAssistantMap(root);
    const std::string svg = RenderMap(map, "svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find(">Welcome</text>"), std::string::npos);
    EXPECT_NE(svg.find(">Next</text>"), std::string::npos);
    const std::string png = RenderMap(map, "png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    EXPECT_THROW(RenderMap(map, "no-such-format"), AppError);
}

TEST(MapLabelTest, ShortensLongTextsAndListsBadges) {
    MapBox box;
    box.ID = "S1";
    box.Caption = std::string(40, 'x');
    EXPECT_EQ(BoxLabelText(box), "S1\\n" + std::string(36, 'x') + "...");
    // Shortening counts characters, not bytes: a UTF-8 sequence is never cut.
    std::string accented;
    for (int i = 0; i < 40; ++i)
        accented += "\xC3\xA9";
    box.Caption = accented;
    box.Badges = {MapBadge{0, akInternet, false, "web", ""}, MapBadge{1, akNote, false, "notes", ""}};
    EXPECT_EQ(BoxLabelText(box), "S1\\n" + accented.substr(0, 72) + "...\\n[web] [notes]");
}

} // namespace
