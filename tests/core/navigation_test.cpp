#include "model/navigationstructure.h"

#include "assistantbuilder.h"
#include "model/assistroot.h"
#include "support/textroutines.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using testbuild::Option;
using testbuild::Place;
using testbuild::Screen;

namespace {

// The arrow between a node's origin and its target, as the view shows it.
const std::string Arrow = " \xC2\xBB ";

// One line per node in index order: two blanks per level, the text, " @ " and the item's place.
std::vector<std::string> Dump(const TAssistRoot& root, const NavigationStructure& structure) {
    std::vector<std::string> lines;
    for (const NavigationNode& node : structure.Nodes)
        lines.push_back(std::string(2 * static_cast<std::size_t>(node.Depth), ' ') + node.Text + " @ " +
                        Place(root, node.Item));
    return lines;
}

// Parent, Depth and Children agree, every node is expanded, and the nodes stand in depth-first order
// (each node directly after its parent or after the last node of its previous sibling's branch).
void ExpectConsistent(const NavigationStructure& structure) {
    const auto& nodes = structure.Nodes;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        SCOPED_TRACE("node " + IntToStr(static_cast<std::int64_t>(i)));
        const NavigationNode& node = nodes[i];
        EXPECT_TRUE(node.Expanded);
        if (i == 0) {
            EXPECT_EQ(node.Parent, -1);
            EXPECT_EQ(node.Depth, 0);
        } else {
            ASSERT_GE(node.Parent, 0);
            ASSERT_LT(static_cast<std::size_t>(node.Parent), i);
            EXPECT_EQ(node.Depth, nodes[static_cast<std::size_t>(node.Parent)].Depth + 1);
        }
        int expectedNext = static_cast<int>(i) + 1;
        for (int child : node.Children) {
            ASSERT_EQ(child, expectedNext);
            EXPECT_EQ(nodes[static_cast<std::size_t>(child)].Parent, static_cast<int>(i));
            // The next sibling follows the child's whole branch: skip past deeper nodes.
            ++expectedNext;
            while (static_cast<std::size_t>(expectedNext) < nodes.size() &&
                   nodes[static_cast<std::size_t>(expectedNext)].Depth > node.Depth + 1)
                ++expectedNext;
        }
    }
}

void MakeBase(TAssistRoot& root) {
    root.ID = "A1";
    root.FirstScreen = "S1";
}

struct Case {
    const char* name;
    std::function<void(TAssistRoot&)> build;
    std::vector<std::string> expected;
};

} // namespace

TEST(NavigationStructure, Shapes) {
    const std::vector<Case> cases = {
        {"start screen alone", [](TAssistRoot& r) { Screen(r, "S1"); }, {"A A1" + Arrow + "S S1 @ screen 1"}},
        {"one node per action kind; a note adds nothing",
         [](TAssistRoot& r) {
             TAssistScreen& s1 = Screen(r, "S1");
             Screen(r, "S2");
             Screen(r, "S3");
             Option(s1, "go", akGoto, "S2");
             Option(s1, "button", akGotoButton, "S3");
             Option(s1, "asst", akAssistant, "other.amf");
             Option(s1, "run", akRun, "tool");
             Option(s1, "browse", akBrowse, "doc 7");
             Option(s1, "web", akInternet, "http://example.org/");
             Option(s1, "script", akScript, "ignored");
             Option(s1, "note", akNote, "ignored");
             Option(s1, "exec", akExec, "prog.exe /x");
         },
         {"A A1" + Arrow + "S S1 @ screen 1", "  O go" + Arrow + "S S2 @ screen 2",
          "  O button" + Arrow + "S S3 @ screen 3", "  O asst" + Arrow + "GOTO other.amf @ option 1.3",
          "  O run" + Arrow + "RUN tool @ option 1.4", "  O browse" + Arrow + "BROWSE doc 7 @ option 1.5",
          "  O web" + Arrow + "INTERNET http://example.org/ @ option 1.6",
          "  O script" + Arrow + "SCRIPT @ option 1.7",
          "  O exec" + Arrow + "EXEC prog.exe /x @ option 1.9"}},
        {"empty commands and IDs leave their blanks",
         [](TAssistRoot& r) {
             TAssistScreen& s1 = Screen(r, "S1");
             Option(s1, "", akExec, "");
             Option(s1, "i", akInternet, "");
         },
         {"A A1" + Arrow + "S S1 @ screen 1", "  O " + Arrow + "EXEC  @ option 1.1",
          "  O i" + Arrow + "INTERNET  @ option 1.2"}},
        {"a go-to to no screen adds nothing",
         [](TAssistRoot& r) {
             TAssistScreen& s1 = Screen(r, "S1");
             Option(s1, "lost", akGoto, "Nowhere");
             Option(s1, "empty", akGotoButton, "");
         },
         {"A A1" + Arrow + "S S1 @ screen 1"}},
        {"depth first: a branch is complete before the next option",
         [](TAssistRoot& r) {
             TAssistScreen& s1 = Screen(r, "S1");
             TAssistScreen& s2 = Screen(r, "S2");
             Screen(r, "S3");
             Option(s1, "a", akGoto, "S2");
             Option(s1, "b", akExec, "b.exe");
             Option(s2, "c", akGoto, "S3");
             Option(s2, "d", akScript);
         },
         {"A A1" + Arrow + "S S1 @ screen 1", "  O a" + Arrow + "S S2 @ screen 2",
          "    O c" + Arrow + "S S3 @ screen 3", "    O d" + Arrow + "SCRIPT @ option 2.2",
          "  O b" + Arrow + "EXEC b.exe @ option 1.2"}},
        {"two options to one screen, and a way back: repeated leaves",
         [](TAssistRoot& r) {
             TAssistScreen& s1 = Screen(r, "S1");
             TAssistScreen& s2 = Screen(r, "S2");
             Option(s1, "S1.1", akGoto, "S2");
             Option(s1, "S1.2", akGotoButton, "S2");
             Option(s2, "S2.1", akGoto, "S1");
             Option(s2, "S2.2", akExec, "x");
         },
         {"A A1" + Arrow + "S S1 @ screen 1", "  O S1.1" + Arrow + "S S2 @ screen 2",
          "    O S2.1" + Arrow + "S S1 (repeated) @ screen 1", "    O S2.2" + Arrow + "EXEC x @ option 2.2",
          "  O S1.2" + Arrow + "S S2 (repeated) @ screen 2"}},
        {"a screen leading to itself",
         [](TAssistRoot& r) { Option(Screen(r, "S1"), "loop", akGoto, "s1"); },
         {"A A1" + Arrow + "S S1 @ screen 1", "  O loop" + Arrow + "S S1 (repeated) @ screen 1"}},
        {"first screen and targets found ignoring letter case; the node shows the screen's own ID",
         [](TAssistRoot& r) {
             r.FirstScreen = "s1";
             Option(Screen(r, "S1"), "o", akGoto, "INTRO");
             Screen(r, "Intro");
         },
         {"A A1" + Arrow + "S S1 @ screen 1", "  O o" + Arrow + "S Intro @ screen 2"}},
        {"of two screens with one ID only the first is ever reached",
         [](TAssistRoot& r) {
             TAssistScreen& s1 = Screen(r, "S1");
             Screen(r, "Dup");
             Option(Screen(r, "dup"), "hidden", akExec, "x");
             Option(s1, "a", akGoto, "DUP");
             Option(s1, "b", akGoto, "dup");
         },
         {"A A1" + Arrow + "S S1 @ screen 1", "  O a" + Arrow + "S Dup @ screen 2",
          "  O b" + Arrow + "S Dup (repeated) @ screen 2"}},
        {"the start screen is the first of its ID",
         [](TAssistRoot& r) {
             Screen(r, "s1");
             Option(Screen(r, "S1"), "never", akExec, "x");
         },
         {"A A1" + Arrow + "S s1 @ screen 1"}},
        {"empty first screen starts at a screen with an empty ID",
         [](TAssistRoot& r) {
             r.FirstScreen.clear();
             Screen(r, "S1");
             Option(Screen(r, ""), "back", akGoto, "S1");
         },
         {"A A1" + Arrow + "S  @ screen 2", "  O back" + Arrow + "S S1 @ screen 1"}},
        {"assistant ID empty",
         [](TAssistRoot& r) {
             r.ID.clear();
             Screen(r, "S1");
         },
         {"A " + Arrow + "S S1 @ screen 1"}},
        {"empty first screen and no screen with an empty ID: empty view",
         [](TAssistRoot& r) {
             r.FirstScreen.clear();
             Option(Screen(r, "S1"), "x", akExec, "x");
         },
         {}},
        {"first screen naming no screen: empty view",
         [](TAssistRoot& r) {
             r.FirstScreen = "S9";
             Option(Screen(r, "S1"), "x", akExec, "x");
         },
         {}},
        {"no screens: empty view", [](TAssistRoot&) {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAssistRoot root(testbuild::User);
        MakeBase(root);
        c.build(root);
        const NavigationStructure structure = BuildNavigationStructure(root);
        EXPECT_EQ(Dump(root, structure), c.expected);
        EXPECT_EQ(structure.Empty(), c.expected.empty());
        ExpectConsistent(structure);
    }
}

TEST(NavigationStructure, LastNodeOfAnItemIsTheOneSelected) {
    TAssistRoot root(testbuild::User);
    MakeBase(root);
    TAssistScreen& s1 = Screen(root, "S1");
    TAssistScreen& s2 = Screen(root, "S2");
    TAssistScreen& unreached = Screen(root, "S3");
    Option(s1, "a", akGoto, "S2");
    Option(s1, "b", akGoto, "S2");
    TAssistOption& web = Option(s2, "w", akInternet, "http://x/");

    const NavigationStructure structure = BuildNavigationStructure(root);
    ASSERT_EQ(structure.Nodes.size(), 4u);
    ASSERT_NE(structure.Top(), nullptr);
    EXPECT_EQ(structure.Top()->Item, &s1);
    EXPECT_EQ(structure.LastNodeOf(&s2), &structure.Nodes[3]); // the "(repeated)" leaf
    EXPECT_EQ(structure.LastNodeOf(&web), &structure.Nodes[2]);
    EXPECT_EQ(structure.LastNodeOf(&unreached), nullptr);
    EXPECT_EQ(structure.LastNodeOf(&root), nullptr);
    EXPECT_EQ(BuildNavigationStructure(TAssistRoot(testbuild::User)).Top(), nullptr);
}

// A chain S1 -> S2 -> ... -> S100000: one level per screen, built and destroyed without recursion
// (a recursive walk would overflow the stack, most of all under the sanitizers).
TEST(NavigationStructure, LongChainNeedsNoDeepRecursion) {
    constexpr int Length = 100000;
    TAssistRoot root(testbuild::User);
    MakeBase(root);
    for (int i = 1; i <= Length; ++i) {
        TAssistScreen& screen = Screen(root, "S" + IntToStr(i));
        Option(screen, "O" + IntToStr(i), akGoto, "S" + IntToStr(i < Length ? i + 1 : 1));
    }

    {
        const NavigationStructure structure = BuildNavigationStructure(root);
        ASSERT_EQ(structure.Nodes.size(), static_cast<std::size_t>(Length + 1));
        EXPECT_EQ(structure.Nodes[1].Text, "O O1" + Arrow + "S S2");
        const NavigationNode& last = structure.Nodes.back();
        EXPECT_EQ(last.Text, "O O" + IntToStr(Length) + Arrow + "S S1 (repeated)");
        EXPECT_EQ(last.Depth, Length);
        EXPECT_EQ(last.Item, root.Screens.Item(0));
        const NavigationNode& deepest = structure.Nodes[Length - 1];
        EXPECT_EQ(deepest.Text, "O O" + IntToStr(Length - 1) + Arrow + "S S" + IntToStr(Length));
        EXPECT_EQ(deepest.Children, std::vector<int>{Length});
    }
}

// ---------------------------------------------------------------------------------------------------
// The view built the plain way: recursive AddScreenBranch, FindScreen for every target, and a search of
// every node added so far for an earlier place of the screen. The real builder must agree with it.

namespace {

void ReferenceBranch(const TAssistRoot& root, const std::string& prefix, int parent,
                     const TAssistScreen* screen, NavigationStructure& out) {
    if (screen == nullptr)
        return;
    bool repeated = false;
    for (const NavigationNode& node : out.Nodes)
        repeated = repeated || node.Item == screen;
    auto add = [&](int under, std::string text, const TAssistBase* item) {
        NavigationNode node;
        node.Text = std::move(text);
        node.Item = item;
        node.Parent = under;
        node.Depth = under < 0 ? 0 : out.Nodes[static_cast<std::size_t>(under)].Depth + 1;
        out.Nodes.push_back(node);
        const int index = static_cast<int>(out.Nodes.size()) - 1;
        if (under >= 0)
            out.Nodes[static_cast<std::size_t>(under)].Children.push_back(index);
        return index;
    };
    if (repeated) {
        add(parent, prefix + "S " + screen->ID + " (repeated)", screen);
        return;
    }
    const int n = add(parent, prefix + "S " + screen->ID, screen);
    for (const TAssistOption& o : screen->Options) {
        const std::string p = "O " + o.ID + Arrow;
        switch (o.Action) {
        case akGoto:
        case akGotoButton:
            ReferenceBranch(root, p, n, root.Screens.FindScreen(o.Command), out);
            break;
        case akAssistant:
            add(n, p + "GOTO " + o.Command, &o);
            break;
        case akRun:
            add(n, p + "RUN " + o.Command, &o);
            break;
        case akBrowse:
            add(n, p + "BROWSE " + o.Command, &o);
            break;
        case akInternet:
            add(n, p + "INTERNET " + o.Command, &o);
            break;
        case akScript:
            add(n, p + "SCRIPT", &o);
            break;
        case akExec:
            add(n, p + "EXEC " + o.Command, &o);
            break;
        case akNote:
            break;
        }
    }
}

} // namespace

TEST(NavigationStructure, MatchesThePlainRecursiveBuildOnRandomAssistants) {
    testbuild::Dice dice(19991231);
    int deep = 0, repeated = 0;
    for (int round = 0; round < 500; ++round) {
        SCOPED_TRACE("round " + IntToStr(round));
        TAssistRoot root(testbuild::User);
        testbuild::FillRandomAssistant(root, dice);
        // Mostly start at an existing screen and turn half the options into go-tos to existing screens
        // (named in either letter case), so that most rounds build nested and repeated branches.
        const int screens = root.Screens.Count();
        if (screens > 0 && !dice.OneIn(4))
            root.FirstScreen = root.Screens.Item(dice.Below(screens))->ID;
        for (TAssistScreen& screen : root.Screens)
            for (TAssistOption& option : screen.Options)
                if (dice.OneIn(2)) {
                    option.Action = dice.OneIn(2) ? akGoto : akGotoButton;
                    const std::string& target = root.Screens.Item(dice.Below(screens))->ID;
                    option.Command = dice.OneIn(2) ? target : AsciiLower(target);
                }
        NavigationStructure expected;
        ReferenceBranch(root, "A " + root.ID + Arrow, -1, root.Screens.FindScreen(root.FirstScreen),
                        expected);
        const NavigationStructure structure = BuildNavigationStructure(root);
        ASSERT_EQ(Dump(root, structure), Dump(root, expected));
        for (std::size_t i = 0; i < expected.Nodes.size(); ++i) {
            EXPECT_EQ(structure.Nodes[i].Parent, expected.Nodes[i].Parent);
            EXPECT_EQ(structure.Nodes[i].Children, expected.Nodes[i].Children);
        }
        // What an editor patches in place: under the expanded node of a screen stand, in order, the
        // options that OptionHasNode names, each text beginning with its OptionNodePrefix.
        for (const NavigationNode& node : structure.Nodes) {
            const auto* screen = dynamic_cast<const TAssistScreen*>(node.Item);
            if (screen == nullptr || node.Text.ends_with(" (repeated)"))
                continue;
            std::vector<std::string> withNode;
            for (const TAssistOption& option : screen->Options)
                if (OptionHasNode(root, option))
                    withNode.push_back(OptionNodePrefix(option.ID));
            ASSERT_EQ(node.Children.size(), withNode.size()) << node.Text;
            for (std::size_t i = 0; i < withNode.size(); ++i)
                EXPECT_TRUE(structure.Nodes[static_cast<std::size_t>(node.Children[i])].Text.starts_with(
                    withNode[i]));
            // A child carrying its option is a leaf, whose whole text OptionLeafText gives.
            for (int child : node.Children) {
                const NavigationNode& leaf = structure.Nodes[static_cast<std::size_t>(child)];
                if (const auto* option = dynamic_cast<const TAssistOption*>(leaf.Item)) {
                    EXPECT_EQ(leaf.Text, OptionLeafText(*option));
                }
            }
        }
        if (!structure.Empty()) {
            const auto* start = dynamic_cast<const TAssistScreen*>(structure.Top()->Item);
            ASSERT_NE(start, nullptr);
            EXPECT_EQ(structure.Top()->Text, TopNodeText(root.ID, start->ID));
        }
        for (const NavigationNode& node : expected.Nodes) {
            deep += node.Depth >= 2;
            repeated += node.Text.ends_with(" (repeated)");
        }
    }
    // The random assistants must reach nested branches and repeated screens, not only the top node.
    EXPECT_GT(deep, 100);
    EXPECT_GT(repeated, 100);
}
