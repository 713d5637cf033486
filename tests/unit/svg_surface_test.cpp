// The SVG surface: its documents parse as XML whatever the texts hold, pens
// and fonts become the matching SVG attributes, and texts are laid out by the
// recording surface's font model.
#include <gtest/gtest.h>

#include <string>

#include "graph/recording_surface.h"
#include "graph/svg_surface.h"
#include "support/xml_check.h"

namespace {

s_xml_document parsed(svg_surface& surface)
{
    s_xml_document document = parse_xml(surface.document());
    EXPECT_EQ(document.error, "");
    return document;
}

TEST(SvgSurface, EveryOperationGivesAWellFormedDocumentOfThePicturesSize)
{
    svg_surface surface(320, 200);
    surface.fill_rect({0, 0, 320, 200}, {brush_kind::light_grey});
    surface.frame_rect({10, 10, 100, 60}, solid_brush(0x0000FF));
    surface.select_pen({pen_style::solid, 2, 0x00FF00});
    surface.move_to(0, 0);
    surface.line_to(50, 50);
    surface.ellipse({20, 20, 26, 26}, {brush_kind::white});
    surface.select_font({0, true, font_direction::normal, ""});
    surface.set_text_colour(0x123456);
    surface.set_transparent_text(false);
    surface.text_at(5, 5, "opaque");
    surface.set_transparent_text(true);
    surface.text_in_rect("  Frequency: 1.0000Hz \nGain: 0.0000dB \t Phase: 3.0000\xB0", {0, 100, 300, 130},
                         text_align::left, text_lines::multi_line);
    const s_xml_document document = parsed(surface);
    ASSERT_NE(document.root, nullptr);
    EXPECT_EQ(document.root->name, "svg");
    EXPECT_EQ(document.root->attribute("width"), "320");
    EXPECT_EQ(document.root->attribute("height"), "200");
    EXPECT_EQ(document.root->attribute("viewBox"), "0 0 320 200");

    const auto rects = xml_elements_named(*document.root, "rect");
    ASSERT_EQ(rects.size(), 3u);  // the fill, the frame, the opaque text's cell
    EXPECT_EQ(rects[0]->attribute("fill"), "#C0C0C0");
    EXPECT_EQ(rects[1]->attribute("stroke"), "#FF0000");  // 0x00BBGGRR
    EXPECT_EQ(rects[1]->attribute("fill"), "none");
    const auto texts = xml_elements_named(*document.root, "text");
    ASSERT_EQ(texts.size(), 4u);  // "opaque", the first line, the two pieces of the tabbed line
    EXPECT_EQ(texts[0]->attribute("fill"), "#563412");
    EXPECT_EQ(texts[0]->attribute("font-weight"), "bold");
    EXPECT_EQ(texts[1]->text, "  Frequency: 1.0000Hz ");
    EXPECT_EQ(texts[3]->text, " Phase: 3.0000\u00B0");
}

TEST(SvgSurface, TextsAreEscapedAndConvertedToUtf8)
{
    struct text_case {
        std::string program_text;
        std::string document_text;
    };
    const text_case cases[] = {
        {"a < b & c > d", "a < b & c > d"},
        {"\"quoted\" 'single'", "\"quoted\" 'single'"},
        {"PHASE (\xB0)", "PHASE (\u00B0)"},
        {"TAN\xF0 \x80", "TAN\u00F0 \u20AC"},
        {"bell\x07 and nul-free\x1F", "bell and nul-free"},  // characters XML forbids are dropped
        {"]]> stays text", "]]> stays text"},
    };
    for (const text_case& c : cases) {
        SCOPED_TRACE(c.program_text);
        svg_surface surface(100, 100);
        surface.text_at(0, 0, c.program_text);
        surface.select_font({0, false, font_direction::normal, c.program_text});  // a face is escaped as well
        surface.text_at(0, 20, "x");
        const s_xml_document document = parsed(surface);
        ASSERT_NE(document.root, nullptr);
        const auto texts = xml_elements_named(*document.root, "text");
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0]->text, c.document_text);
        EXPECT_NE(texts[1]->attribute("font-family").find("'" + c.document_text + "'"), std::string::npos);
    }
}

TEST(SvgSurface, LinesOfOnePenFormOnePathAndPenStylesBecomeDashes)
{
    svg_surface surface(100, 100);
    surface.select_pen({pen_style::solid, 2, 0x0000FF});
    surface.move_to(0, 0);
    surface.line_to(10, 0);
    surface.line_to(10, 10);
    surface.move_to(20, 20);  // a gap in the same curve
    surface.line_to(30, 20);
    surface.select_pen({pen_style::dotted, 1, 0});
    surface.line_to(30, 40);  // from where the pen stands
    surface.select_pen({pen_style::dashed, 1, 0});
    surface.move_to(1, 1);
    surface.line_to(2, 2);
    surface.select_pen({pen_style::solid, 1, 0});
    surface.move_to(5, 5);  // no line: no path
    const s_xml_document document = parsed(surface);
    ASSERT_NE(document.root, nullptr);
    const auto paths = xml_elements_named(*document.root, "path");
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0]->attribute("d"), "M0.5 0.5 L10.5 0.5 L10.5 10.5 M20.5 20.5 L30.5 20.5");
    EXPECT_EQ(paths[0]->attribute("stroke"), "#FF0000");
    EXPECT_EQ(paths[0]->attribute("stroke-width"), "2");
    EXPECT_EQ(paths[0]->attribute("stroke-dasharray"), "");
    EXPECT_EQ(paths[1]->attribute("d"), "M30.5 20.5 L30.5 40.5");
    EXPECT_NE(paths[1]->attribute("stroke-dasharray"), "");
    EXPECT_NE(paths[2]->attribute("stroke-dasharray"), "");
    EXPECT_NE(paths[2]->attribute("stroke-dasharray"), paths[1]->attribute("stroke-dasharray"));
}

TEST(SvgSurface, RotatedFontsTurnTheTextAboutItsStartingCorner)
{
    struct rotation_case {
        font_direction direction;
        std::string transform;
    };
    const rotation_case cases[] = {
        {font_direction::up, "rotate(-90 40 70)"},
        {font_direction::down, "rotate(90 40 70)"},
        {font_direction::normal, ""},
    };
    for (const rotation_case& c : cases) {
        svg_surface surface(100, 100);
        surface.select_font({0, false, c.direction, ""});
        surface.text_at(40, 70, "PHASE");
        const s_xml_document document = parsed(surface);
        ASSERT_NE(document.root, nullptr);
        const auto texts = xml_elements_named(*document.root, "text");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0]->attribute("transform"), c.transform);
    }
}

TEST(SvgSurface, TextsAreMeasuredAndPlacedByTheRecordingSurfacesModel)
{
    svg_surface svg(400, 400);
    recording_surface recording;
    for (const s_font& font : {s_font{}, s_font{26, true, font_direction::normal, ""}, s_font{5, false, font_direction::up, ""}}) {
        svg.select_font(font);
        recording.select_font(font);
        for (const std::string text : {"", "1k", "FREQUENCY (Hz)"}) {
            const s_text_size a = svg.text_extent(text);
            const s_text_size b = recording.text_extent(text);
            EXPECT_EQ(a.width, b.width) << text;
            EXPECT_EQ(a.height, b.height) << text;
        }
    }
    // Alignment in a rectangle: the anchor at the left edge, the middle or
    // the right edge; a tab goes to the next stop of 8 model characters.
    svg.select_font({});
    svg.text_in_rect("L", {100, 0, 200, 20}, text_align::left, text_lines::single_centred);
    svg.text_in_rect("C", {100, 0, 200, 20}, text_align::centre, text_lines::single_centred);
    svg.text_in_rect("R", {100, 0, 200, 20}, text_align::right, text_lines::single_centred);
    svg.text_in_rect("ab\tc\nd", {100, 50, 300, 80}, text_align::left, text_lines::multi_line);
    const s_xml_document document = parsed(svg);
    ASSERT_NE(document.root, nullptr);
    const auto texts = xml_elements_named(*document.root, "text");
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0]->attribute("x"), "100");
    EXPECT_EQ(texts[1]->attribute("x"), "150");
    EXPECT_EQ(texts[1]->attribute("text-anchor"), "middle");
    EXPECT_EQ(texts[2]->attribute("x"), "200");
    EXPECT_EQ(texts[2]->attribute("text-anchor"), "end");
    EXPECT_EQ(texts[3]->attribute("x"), "100");
    EXPECT_EQ(texts[4]->attribute("x"), std::to_string(100 + 8 * recording_surface::model_char_width));
    EXPECT_EQ(texts[4]->attribute("y"), texts[3]->attribute("y"));
    EXPECT_EQ(texts[5]->attribute("x"), "100");
    EXPECT_GT(std::stod(texts[5]->attribute("y")), std::stod(texts[3]->attribute("y")) + 12);
}

TEST(XmlCheck, RefusesDocumentsThatAreNotWellFormed)
{
    const char* bad[] = {
        "",
        "<svg>",
        "<svg></g>",
        "<svg a=\"1\" a=\"2\"/>",
        "<svg a=1/>",
        "<svg>&nbsp;</svg>",
        "<svg>a < b</svg>",
        "<svg/><svg/>",
        "<svg>\xB0</svg>",  // a Windows-1252 byte, not UTF-8
        "<svg>\x01</svg>",
    };
    for (const char* text : bad) {
        EXPECT_NE(parse_xml(text).error, "") << text;
    }
    const s_xml_document good = parse_xml("<?xml version=\"1.0\"?>\n<svg a='&lt;&#176;'><!-- c --><t>x&amp;y</t></svg>\n");
    ASSERT_EQ(good.error, "");
    EXPECT_EQ(good.root->attribute("a"), "<\u00B0");
    EXPECT_EQ(good.root->children.at(0)->text, "x&y");
}

}  // namespace
