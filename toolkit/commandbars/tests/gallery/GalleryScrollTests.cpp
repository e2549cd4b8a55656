// The gallery scroll bar's arithmetic without windows: the standard and the
// three-button geometry, hit codes and the position a thumb pixel stands for.
#include <qx/galleryscroll.h>

#include <gtest/gtest.h>

namespace {

ScrollBarGeometry Standard(RECT rc, QXPScrollInfo info, BOOL bVertical = TRUE, int nArrow = 16)
{
    ScrollBarGeometry geo = {};
    geo.bVertical = bVertical;
    QXPCalcStandardScrollBar(rc, info, nArrow, &geo);
    return geo;
}

struct GeometryCase {
    const char* name;
    RECT rc;
    QXPScrollInfo info;
    BOOL bVertical;
    int firstArrowEnd, secondArrowStart, thumbLength, trackStart, freeTrack, thumbStart, thumbEnd;
};

TEST(GalleryScrollGeometry, StandardTable)
{
    const GeometryCase cases[] = {
        // 200 units, 50 a page, on a 100-pixel bar with 16-pixel arrows.
        {"top", {0, 0, 16, 100}, {0, 199, 50, 0}, TRUE, 16, 84, 17, 16, 51, 16, 33},
        {"middle", {0, 0, 16, 100}, {0, 199, 50, 50}, TRUE, 16, 84, 17, 16, 51, 33, 50},
        {"bottom", {0, 0, 16, 100}, {0, 199, 50, 150}, TRUE, 16, 84, 17, 16, 51, 67, 84},
        {"horizontal", {10, 50, 110, 66}, {0, 199, 50, 50}, FALSE, 26, 94, 17, 26, 51, 43, 60},
        // Shorter than two arrows: the length is split, the thumb keeps half
        // an arrow and there is no free track.
        {"short even", {0, 0, 16, 20}, {0, 199, 50, 0}, TRUE, 10, 10, 8, 10, -8, 10, 18},
        {"short odd", {0, 0, 16, 21}, {0, 199, 50, 0}, TRUE, 10, 11, 8, 10, -7, 10, 18},
        // Content that exactly fits: the thumb sits one pixel higher.
        {"range equals page", {0, 0, 16, 100}, {0, 99, 100, 0}, TRUE, 16, 84, 68, 16, 0, 15, 83},
        // A tiny page still gets a thumb of half an arrow.
        {"tiny page", {0, 0, 16, 100}, {0, 9999, 1, 0}, TRUE, 16, 84, 8, 16, 60, 16, 24},
        // No page: the thumb is one arrow long.
        {"no page", {0, 0, 16, 100}, {0, 99, 0, 99}, TRUE, 16, 84, 16, 16, 52, 68, 84},
    };
    for (const GeometryCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScrollBarGeometry geo = Standard(c.rc, c.info, c.bVertical);
        EXPECT_EQ(c.bVertical, geo.bVertical);
        EXPECT_EQ(c.firstArrowEnd, geo.pxFirstArrowEnd);
        EXPECT_EQ(c.secondArrowStart, geo.pxSecondArrowStart);
        EXPECT_EQ(c.thumbLength, geo.pxThumbLength);
        EXPECT_EQ(c.trackStart, geo.pxTrackStart);
        EXPECT_EQ(c.freeTrack, geo.pxFreeTrack);
        EXPECT_EQ(c.thumbStart, geo.pxThumbStart);
        EXPECT_EQ(c.thumbEnd, geo.pxThumbEnd);
        EXPECT_EQ(0, geo.pxPopupStart);
        EXPECT_TRUE(EqualRect(&c.rc, &geo.rcBar));
        EXPECT_EQ(c.info.nMax, geo.nMax);
        EXPECT_EQ(c.info.nPage, geo.nPage);
        EXPECT_EQ(c.info.nPos, geo.nPos);
    }
}

TEST(GalleryScrollGeometry, ThreeButtonColumn)
{
    ScrollBarGeometry geo = {};
    geo.bVertical = TRUE;
    QXPCalcThreeButtonScrollBar({100, 20, 116, 80}, {0, 299, 60, 40}, &geo);
    EXPECT_EQ(20, geo.pxStart);
    EXPECT_EQ(80, geo.pxEnd);
    EXPECT_EQ(39, geo.pxFirstArrowEnd);
    EXPECT_EQ(39, geo.pxSecondArrowStart);
    EXPECT_EQ(58, geo.pxPopupStart);
    EXPECT_EQ(40, geo.nPos);

    const struct {
        int x, y, hit;
    } hits[] = {
        {100, 20, qxpScrollHitArrowBefore},
        {115, 38, qxpScrollHitArrowBefore},
        {100, 39, qxpScrollHitArrowAfter},
        {100, 58, qxpScrollHitArrowAfter},
        {100, 59, qxpScrollHitPopup},
        {115, 79, qxpScrollHitPopup},
        {100, 80, qxpScrollHitNone},
        {116, 30, qxpScrollHitNone},
        {99, 30, qxpScrollHitNone},
        {100, 19, qxpScrollHitNone},
    };
    for (const auto& h : hits) {
        SCOPED_TRACE(testing::Message() << h.x << "," << h.y);
        EXPECT_EQ(h.hit, QXPScrollBarHitTest(geo, {h.x, h.y}));
    }
}

TEST(GalleryScrollGeometry, HitCodesAlongTheStandardBar)
{
    // Thumb 33..50 on a 100-pixel bar.
    ScrollBarGeometry geo = Standard({0, 0, 16, 100}, {0, 199, 50, 50});
    const struct {
        int x, y, hit;
    } hits[] = {
        {0, 0, qxpScrollHitArrowBefore},
        {15, 15, qxpScrollHitArrowBefore},
        {0, 16, qxpScrollHitPageBefore},
        {0, 32, qxpScrollHitPageBefore},
        {0, 33, qxpScrollHitThumb},
        {0, 49, qxpScrollHitThumb},
        {0, 50, qxpScrollHitPageAfter},
        {0, 83, qxpScrollHitPageAfter},
        {0, 84, qxpScrollHitArrowAfter},
        {0, 99, qxpScrollHitArrowAfter},
        {0, 100, qxpScrollHitNone},
        {-1, 50, qxpScrollHitNone},
        {16, 50, qxpScrollHitNone},
    };
    for (const auto& h : hits) {
        SCOPED_TRACE(testing::Message() << h.x << "," << h.y);
        EXPECT_EQ(h.hit, QXPScrollBarHitTest(geo, {h.x, h.y}));
    }

    // Horizontally the x coordinate runs along the bar.
    ScrollBarGeometry horz = Standard({10, 50, 110, 66}, {0, 199, 50, 50}, FALSE);
    EXPECT_EQ(qxpScrollHitArrowBefore, QXPScrollBarHitTest(horz, {25, 60}));
    EXPECT_EQ(qxpScrollHitPageBefore, QXPScrollBarHitTest(horz, {26, 60}));
    EXPECT_EQ(qxpScrollHitThumb, QXPScrollBarHitTest(horz, {43, 60}));
    EXPECT_EQ(qxpScrollHitPageAfter, QXPScrollBarHitTest(horz, {60, 60}));
    EXPECT_EQ(qxpScrollHitArrowAfter, QXPScrollBarHitTest(horz, {94, 60}));
}

TEST(GalleryScrollGeometry, PositionFromThumbPixel)
{
    const struct {
        const char* name;
        RECT rc;
        QXPScrollInfo info;
        int px, pos;
    } cases[] = {
        // Track from 16, 51 free pixels, positions 0 .. 150.
        {"before the track", {0, 0, 16, 100}, {0, 199, 50, 0}, 0, 0},
        {"track start", {0, 0, 16, 100}, {0, 199, 50, 0}, 16, 0},
        {"a third", {0, 0, 16, 100}, {0, 199, 50, 0}, 33, 50},
        {"last free pixel", {0, 0, 16, 100}, {0, 199, 50, 0}, 66, 147},
        {"end of the free track", {0, 0, 16, 100}, {0, 199, 50, 0}, 67, 150},
        {"far beyond", {0, 0, 16, 100}, {0, 199, 50, 0}, 500, 150},
        {"minimum not 0", {0, 0, 16, 100}, {100, 299, 50, 100}, 33, 150},
        {"no page beyond", {0, 0, 16, 100}, {0, 199, 0, 0}, 90, 199},
        // No free track: the position stays inside minimum .. maximum.
        {"no free track", {0, 0, 16, 100}, {5, 104, 100, 5}, 16, 5},
        {"no free track beyond", {0, 0, 16, 100}, {5, 104, 100, 5}, 40, 5},
        {"negative free track", {0, 0, 16, 20}, {5, 204, 50, 5}, 10, 155},
        {"page above the range", {0, 0, 16, 100}, {0, 9, 50, 0}, 90, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScrollBarGeometry geo = Standard(c.rc, c.info);
        int pos = QXPScrollPosFromThumb(geo, c.px);
        EXPECT_EQ(c.pos, pos);
        EXPECT_GE(pos, c.info.nMin);
        EXPECT_LE(pos, c.info.nMax);
    }
}

TEST(GalleryScrollGeometry, ThumbPixelAndPositionAgree)
{
    // Every position maps to a thumb start that maps back to it (within one
    // unit of rounding).
    for (int pos = 0; pos <= 150; ++pos) {
        ScrollBarGeometry geo = Standard({0, 0, 16, 100}, {0, 199, 50, pos});
        int back = QXPScrollPosFromThumb(geo, geo.pxThumbStart);
        EXPECT_NEAR(pos, back, 2) << "position " << pos;
    }
}

} // namespace
