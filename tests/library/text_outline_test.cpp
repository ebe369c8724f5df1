// Text turned into glyph outlines (Texte, Txt2Seq) with the installed DejaVu
// fonts: nesting, orientation, styles, spacing and missing glyphs.
#include "test_support.h"
#include "foundation/vx_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace vxtest;

namespace {

struct Outline {
    int32_t result = 0;
    std::vector<ContourPoint> points;

    float width() const
    {
        float w = 0;
        for (const ContourPoint &p : points)
            w = std::max(w, p.X);
        return w;
    }
    float height() const
    {
        float h = 0;
        for (const ContourPoint &p : points)
            h = std::max(h, p.Y);
        return h;
    }
    // [first, end) of each contour.
    std::vector<std::pair<size_t, size_t>> contours() const
    {
        std::vector<std::pair<size_t, size_t>> out;
        for (size_t i = 0; i < points.size(); ++i) {
            if (i == 0 || tag(points[i]) != tag(points[i - 1]))
                out.push_back({i, i});
            out.back().second = i + 1;
        }
        return out;
    }
};

Outline texte(const std::string &text, const std::string &face = "DejaVu Sans", int32_t style = 0,
              float spacing = 1.0f)
{
    Array a(sizeof(ContourPoint));
    std::string t = text, f = face;
    char *tp = t.data(), *fp = f.data();
    Outline o;
    o.result = Texte(a.ref(), &tp, &fp, &spacing, &style);
    o.points = a.items<ContourPoint>();
    return o;
}

bool samePoints(const Outline &a, const Outline &b)
{
    return a.points.size() == b.points.size() &&
           std::equal(a.points.begin(), a.points.end(), b.points.begin(), [](const ContourPoint &p, const ContourPoint &q) {
               return p.X == q.X && p.Y == q.Y && tag(p) == tag(q);
           });
}

class TextFailures : public ::testing::Test {
protected:
    void TearDown() override { vx::testing::clearArrayFailures(); }
};

} // namespace

TEST(Text, AnEmptyOrMissingTextGivesNoPoint)
{
    Array a(std::vector<ContourPoint>{contourPoint(1, 2)});
    std::string empty, face = "DejaVu Sans";
    char *tp = empty.data(), *fp = face.data();
    float spacing = 1;
    int32_t style = 0;
    EXPECT_EQ(Texte(a.ref(), &tp, &fp, &spacing, &style), VX_ERR_NO_POINT);
    EXPECT_EQ(Texte(a.ref(), nullptr, &fp, &spacing, &style), VX_ERR_NO_POINT);
    EXPECT_EQ(a.get()->count, 1);
    EXPECT_EQ(texte("   ").result, VX_ERR_NO_POINT);
}

TEST(Text, TheLetterOIsTwoNestedContoursWithAClockwiseHole)
{
    const Outline o = texte("O");
    ASSERT_GT(o.result, 0);
    EXPECT_EQ(static_cast<size_t>(o.result), o.points.size());
    const auto cs = o.contours();
    ASSERT_EQ(cs.size(), 2u);
    EXPECT_EQ(tag(o.points[cs[0].first]), " A");
    EXPECT_EQ(tag(o.points[cs[1].first]), " B");
    EXPECT_LT(doubleArea(o.points, cs[0].first, cs[0].second), 0);
    EXPECT_GT(doubleArea(o.points, cs[1].first, cs[1].second), 0);
    for (const auto &[from, to] : cs) {
        EXPECT_EQ(o.points[from].X, o.points[to - 1].X);
        EXPECT_EQ(o.points[from].Y, o.points[to - 1].Y);
        EXPECT_EQ(pen(o.points[from]), "PD");
    }
    // The hole lies inside the outline.
    float holeMin = 1e9f, outerMin = 1e9f;
    for (size_t i = cs[0].first; i < cs[0].second; ++i)
        holeMin = std::min(holeMin, o.points[i].X);
    for (size_t i = cs[1].first; i < cs[1].second; ++i)
        outerMin = std::min(outerMin, o.points[i].X);
    EXPECT_GT(holeMin, outerMin);
}

TEST(Text, GlyphsAreScaledToACellOf57Pixels)
{
    // DejaVu Sans: capitals are 1493 of the 2384 font units of its cell.
    const Outline h = texte("H");
    ASSERT_GT(h.result, 0);
    EXPECT_NEAR(h.height(), 57.0 * 1493 / 2384, 0.5);
}

TEST(Text, BoldIsWiderThanRegularAndItalicLeans)
{
    const Outline regular = texte("HHH");
    const Outline bold = texte("HHH", "DejaVu Sans", 2);
    const Outline italic = texte("HHH", "DejaVu Sans", 1);
    ASSERT_GT(regular.result, 0);
    ASSERT_GT(bold.result, 0);
    ASSERT_GT(italic.result, 0);
    EXPECT_GT(bold.width(), regular.width() + 3);
    EXPECT_FALSE(samePoints(regular, italic));
    EXPECT_GT(italic.width(), regular.width());
}

TEST(Text, AnUnknownFaceFallsBackToDejaVuSans)
{
    const Outline unknown = texte("Ab", "Police Inexistante 42");
    ASSERT_GT(unknown.result, 0);
    EXPECT_TRUE(samePoints(unknown, texte("Ab")));
    EXPECT_GT(texte("Ab", "").result, 0);
    EXPECT_FALSE(samePoints(texte("Ab", "DejaVu Serif"), texte("Ab")));
}

TEST(Text, SpacingScalesTheAdvanceAndSpacesAdvanceThePen)
{
    const float tight = texte("II").width();
    EXPECT_GT(texte("II", "DejaVu Sans", 0, 2.0f).width(), tight + 10);
    EXPECT_GT(texte("I I").width(), tight + 10);
    EXPECT_EQ(texte("II", "DejaVu Sans", 0, std::numeric_limits<float>::quiet_NaN()).result, VX_ERR_NO_POINT);
    EXPECT_EQ(texte("II", "DejaVu Sans", 0, 1e30f).result, VX_ERR_NO_POINT);
}

TEST(Text, ACharacterWithoutAGlyphAddsNothing)
{
    // U+10FFFF is a non-character that no font draws.
    EXPECT_TRUE(samePoints(texte("A\xF4\x8F\xBF\xBF" "B"), texte("AB")));
}

TEST(Text, BytesThatAreNotUtf8ReadAsWindows1252)
{
    const Outline utf8 = texte("\xC3\xA9");
    ASSERT_GT(utf8.result, 0);
    EXPECT_TRUE(samePoints(texte("\xE9"), utf8));
}

TEST(Text, SequenceRecordsNumberTheContoursFromZero)
{
    Array a(sizeof(SequencePoint));
    std::string t = "O", f = "DejaVu Sans";
    char *tp = t.data(), *fp = f.data();
    float spacing = 1;
    int32_t style = 0;
    const int32_t n = Txt2Seq(a.ref(), &tp, &fp, &spacing, &style);
    ASSERT_GT(n, 0);
    const auto pts = a.items<SequencePoint>();
    EXPECT_EQ(pts.front().Sequence, 0);
    EXPECT_EQ(pts.back().Sequence, 1);
    EXPECT_EQ(pts.back().Mark, 0);
}

TEST_F(TextFailures, EachResizeStepReportsItsCode)
{
    Array a(std::vector<ContourPoint>{contourPoint(1, 2)});
    std::string t = "O", f = "DejaVu Sans";
    char *tp = t.data(), *fp = f.data();
    float spacing = 1;
    int32_t style = 0;
    vx::testing::failArrayStep(vx::ArrayStep::Free);
    EXPECT_EQ(Texte(a.ref(), &tp, &fp, &spacing, &style), VX_ERR_ARRAY_FREE);
    EXPECT_EQ(a.get()->count, 1);
    vx::testing::failArrayStep(vx::ArrayStep::Alloc);
    EXPECT_EQ(Texte(a.ref(), &tp, &fp, &spacing, &style), VX_ERR_ARRAY_ALLOC);
    EXPECT_EQ(a.get()->data, nullptr);
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(Texte(a.ref(), &tp, &fp, &spacing, &style), VX_ERR_ARRAY_LOCK);
    EXPECT_GT(a.get()->count, 10);
    EXPECT_EQ(a.get()->locks, 0);
}
