// The picture model of the button image editor, without windows: strokes
// and their undo steps, the pencil that erases, picking a colour, shapes,
// fills, moves that lose what leaves the picture, and the drawing area's
// cells. Then pictures to icons and back, and picture files: good ones of
// each kind, and damaged ones that change nothing.
#include <qx/buttoneditor.h>
#include <qx/resourcemgr.h>

#include <gtest/gtest.h>
#include <qmtest/files.h>
#include <qmtest/messageboxes.h>
#include <qmtest/screenshot.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kT = QXP_EDITOR_TRANSPARENT;

void Dot(CQXPImageEditorModel& model, int x, int y)
{
    model.BeginStroke(x, y);
    model.EndStroke();
}

TEST(ButtonEditorModel, SeventeenStrokesKeepSixteenUndoSteps)
{
    CQXPImageEditorModel model;
    model.SetColor(kRed);
    for (int i = 0; i < 17; i++)
        Dot(model, i % 16, i / 16);
    EXPECT_EQ(16, model.GetUndoCount());
    for (int i = 0; i < 17; i++)
        model.Undo(); // the seventeenth does nothing
    // Back to the picture after the first stroke, not the empty one.
    EXPECT_EQ(kRed, model.GetPicture().Get(0, 0));
    EXPECT_EQ(kT, model.GetPicture().Get(1, 0));
    EXPECT_FALSE(model.CanUndo());
    EXPECT_TRUE(model.CanRedo());
    model.Redo();
    EXPECT_EQ(kRed, model.GetPicture().Get(1, 0));
    // A new stroke empties the redo list.
    Dot(model, 5, 5);
    EXPECT_FALSE(model.CanRedo());
    model.Redo();
    EXPECT_EQ(kT, model.GetPicture().Get(2, 0));
}

TEST(ButtonEditorModel, APencilDragPaintsATrailAndErasesPixelsOfItsColour)
{
    CQXPImageEditorModel model;
    model.SetColor(kRed);
    model.BeginStroke(1, 1);
    model.StrokeTo(2, 1);
    model.StrokeTo(3, 1);
    model.EndStroke();
    EXPECT_EQ(kRed, model.GetPicture().Get(2, 1));
    EXPECT_EQ(1, model.GetUndoCount()) << "one stroke, one step";
    // Starting on a red pixel with red: the stroke erases.
    model.BeginStroke(2, 1);
    model.StrokeTo(3, 1);
    model.EndStroke();
    EXPECT_EQ(kT, model.GetPicture().Get(2, 1));
    EXPECT_EQ(kT, model.GetPicture().Get(3, 1));
    EXPECT_EQ(kRed, model.GetPicture().Get(1, 1));
}

TEST(ButtonEditorModel, PickingAColourReturnsToTheToolBefore)
{
    CQXPImageEditorModel model;
    model.SetColor(kBlue);
    Dot(model, 4, 4);
    model.SetColor(kRed);
    model.SetTool(qxpToolLine);
    model.SetTool(qxpToolPick);
    model.BeginStroke(4, 4);
    EXPECT_EQ(kBlue, model.GetColor());
    EXPECT_EQ(qxpToolLine, model.GetTool());
    EXPECT_EQ(1, model.GetUndoCount()) << "a pick is no edit";
}

TEST(ButtonEditorModel, ShapesAreDrawnAfreshFromTheStartCell)
{
    CQXPImageEditorModel model;
    model.SetColor(kRed);
    model.SetTool(qxpToolLine);
    model.BeginStroke(0, 0);
    model.StrokeTo(15, 0);
    model.StrokeTo(3, 3); // the first line goes again
    model.EndStroke();
    EXPECT_EQ(kRed, model.GetPicture().Get(2, 2));
    EXPECT_EQ(kT, model.GetPicture().Get(15, 0));

    model.SetTool(qxpToolRectangle);
    model.BeginStroke(12, 12); // corners in any order
    model.StrokeTo(8, 8);
    model.EndStroke();
    EXPECT_EQ(kRed, model.GetPicture().Get(8, 10));
    EXPECT_EQ(kRed, model.GetPicture().Get(12, 12));
    EXPECT_EQ(kT, model.GetPicture().Get(10, 10)) << "a frame, not filled";

    model.SetTool(qxpToolEllipse);
    model.BeginStroke(0, 6);
    model.StrokeTo(6, 12);
    model.EndStroke();
    EXPECT_EQ(kRed, model.GetPicture().Get(3, 6));
    EXPECT_EQ(kT, model.GetPicture().Get(3, 9));
    EXPECT_EQ(kT, model.GetPicture().Get(0, 6)) << "the corner lies outside";
}

TEST(ButtonEditorModel, FillReplacesTheRegionOfTheCellsColour)
{
    CQXPImageEditorModel model(8, 8);
    model.SetColor(kRed);
    model.SetTool(qxpToolRectangle);
    model.BeginStroke(2, 2);
    model.StrokeTo(5, 5);
    model.EndStroke();
    model.SetColor(kBlue);
    model.SetTool(qxpToolFill);
    model.BeginStroke(3, 3);
    EXPECT_EQ(kBlue, model.GetPicture().Get(4, 4));
    EXPECT_EQ(kRed, model.GetPicture().Get(2, 2));
    EXPECT_EQ(kT, model.GetPicture().Get(0, 0)) << "the outside is another region";
    EXPECT_EQ(2, model.GetUndoCount());
}

TEST(ButtonEditorModel, MovesLoseWhatLeavesThePictureAndClearEmptiesIt)
{
    CQXPImageEditorModel model;
    model.SetColor(kRed);
    model.SetTool(qxpToolFill);
    model.BeginStroke(0, 0); // all red
    for (int i = 0; i < 4; i++)
        model.Move(-1, 0);
    for (int i = 0; i < 4; i++)
        model.Move(1, 0);
    for (int y = 0; y < 16; y++) {
        for (int x = 0; x < 4; x++)
            ASSERT_EQ(kT, model.GetPicture().Get(x, y)) << x << "," << y;
        ASSERT_EQ(kRed, model.GetPicture().Get(4, y));
    }
    model.Move(0, 1);
    EXPECT_EQ(kT, model.GetPicture().Get(8, 0));
    model.Clear();
    EXPECT_EQ(QXPEditorPicture(16, 16), model.GetPicture());
    model.Undo();
    EXPECT_EQ(kRed, model.GetPicture().Get(8, 1));
}

TEST(ButtonEditorModel, APictureLargerThanTheAreaKeepsOnePixelPerCell)
{
    const struct {
        int nArea, nPicture, nCell;
    } cases[] = {{144, 16, 9}, {145, 16, 9}, {16, 16, 1}, {100, 128, 1}, {0, 16, 1}, {144, 0, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(c.nCell, QxpEditorCellSize(c.nArea, c.nPicture)) << c.nArea << " / " << c.nPicture;
}

TEST(ButtonEditorModel, AReplacedPictureIsOneEditAtTheTopLeft)
{
    CQXPImageEditorModel model(4, 4);
    QXPEditorPicture big(6, 2);
    big.Set(3, 1, kBlue);
    big.Set(5, 0, kBlue); // beyond the picture: dropped
    model.Replace(big);
    EXPECT_EQ(kBlue, model.GetPicture().Get(3, 1));
    EXPECT_EQ(4, model.GetPicture().nWidth);
    EXPECT_EQ(1, model.GetUndoCount());
    model.Undo();
    EXPECT_EQ(QXPEditorPicture(4, 4), model.GetPicture());
}

// ---------------------------------------------------------------------------
// Icons and files

// Little-endian fields for hand-made files.
void Put16(std::string& s, int v)
{
    s += (char)(v & 0xFF);
    s += (char)((v >> 8) & 0xFF);
}
void Put32(std::string& s, long v)
{
    Put16(s, (int)(v & 0xFFFF));
    Put16(s, (int)((v >> 16) & 0xFFFF));
}

// A 24-bit BMP of cx x cy: red, with a blue top-left pixel.
std::string Bmp24(int cx, int cy)
{
    const int nStride = (cx * 3 + 3) & ~3;
    std::string s = "BM";
    Put32(s, 54 + nStride * cy);
    Put32(s, 0);
    Put32(s, 54);
    Put32(s, 40);
    Put32(s, cx);
    Put32(s, cy);
    Put16(s, 1);
    Put16(s, 24);
    Put32(s, BI_RGB);
    for (int i = 0; i < 5; i++)
        Put32(s, 0);
    for (int y = cy - 1; y >= 0; y--) { // bottom-up
        std::string row;
        for (int x = 0; x < cx; x++)
            row += (x == 0 && y == 0) ? std::string("\xFF\x00\x00", 3) : std::string("\x00\x00\xFF", 3);
        row.resize((size_t)nStride, '\0');
        s += row;
    }
    return s;
}

// A 16 x 16 32-bit icon: green, half-transparent in the top row, its
// bottom-right pixel clear.
std::string Ico32()
{
    std::string image;
    Put32(image, 40);
    Put32(image, 16);
    Put32(image, 32);
    Put16(image, 1);
    Put16(image, 32);
    Put32(image, BI_RGB);
    for (int i = 0; i < 5; i++)
        Put32(image, 0);
    for (int y = 15; y >= 0; y--)
        for (int x = 0; x < 16; x++) {
            if (x == 15 && y == 15)
                Put32(image, 0);
            else
                image += std::string("\x00\xC0\x00", 3) + (char)(y == 0 ? 0x80 : 0xFF);
        }
    image += std::string(16 * 4, '\0'); // the AND mask
    std::string s;
    Put16(s, 0);
    Put16(s, 1);
    Put16(s, 1);
    s += (char)16;
    s += (char)16;
    s += std::string("\x00\x00", 2);
    Put16(s, 1);
    Put16(s, 32);
    Put32(s, (long)image.size());
    Put32(s, 22);
    return s + image;
}

// A 1 x 1 GIF of one red pixel.
std::string Gif1()
{
    return std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00"
                       "\xFF\x00\x00\x00\x00\x00"
                       ",\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                       "\x02\x02\x44\x01\x00;",
                       35);
}

// The start of a JPEG: markers without an image.
std::string JpegStart()
{
    return std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
                       "\xFF\xDB\x00\x43\x00",
                       25) +
           std::string(64, '\x10');
}

// A 3 x 2 RGB PNG: yellow, with a black bottom-right pixel.
std::string Png3x2(const qmtest::TempDir& dir)
{
    std::vector<BYTE> bgra(3 * 2 * 4, 0);
    for (int i = 0; i < 6; i++) {
        BYTE* p = &bgra[(size_t)i * 4];
        p[0] = 0;
        p[1] = i == 5 ? 0 : 255;
        p[2] = i == 5 ? 0 : 255;
    }
    std::string path = dir.Path() + "\\made.png";
    FILE* fp = fopen(path.c_str(), "wb");
    if (!fp)
        return std::string();
    qmtest::WritePngRgb(fp, bgra.data(), 3, 2);
    fclose(fp);
    return qmtest::ReadFileBytes(path);
}

TEST(ButtonEditorPictures, IconsComeBackAsTheyWentIn)
{
    // Without alpha: colours and transparent pixels survive the masked icon.
    QXPEditorPicture plain(16, 16);
    plain.Set(0, 0, kRed);
    plain.Set(15, 15, kBlue);
    plain.Set(7, 3, RGB(1, 2, 3));
    CQXPIconHandle icon;
    ASSERT_TRUE(QxpIconFromPicture(plain, icon));
    EXPECT_FALSE(icon.IsAlpha());
    QXPEditorPicture back;
    ASSERT_TRUE(QxpPictureFromIcon(icon, back));
    EXPECT_EQ(plain, back);

    // With alpha: an alpha bitmap with the opacity of each pixel.
    QXPEditorPicture alpha(20, 18, TRUE);
    alpha.Set(1, 1, kRed);
    alpha.Set(2, 1, kBlue, 0x40);
    ASSERT_TRUE(QxpIconFromPicture(alpha, icon));
    ASSERT_TRUE(icon.IsAlpha());
    EXPECT_EQ(20, icon.GetExtent().cx);
    ASSERT_TRUE(QxpPictureFromIcon(icon, back));
    EXPECT_EQ(alpha, back);

    EXPECT_FALSE(QxpPictureFromIcon(CQXPIconHandle(), back));
    EXPECT_FALSE(QxpIconFromPicture(QXPEditorPicture(), icon));
}

TEST(ButtonEditorPictures, GoodFilesOfEachKindLoadAtThePictureSize)
{
    qmtest::TempDir dir("qxbe");
    // Bitmaps at the top left, the rest transparent.
    QXPEditorPicture picture;
    ASSERT_TRUE(QxpLoadPictureFile(dir.WriteFile("red.bmp", Bmp24(4, 3)).c_str(), 16, 16, picture));
    EXPECT_EQ(16, picture.nWidth);
    EXPECT_EQ(kBlue, picture.Get(0, 0));
    EXPECT_EQ(kRed, picture.Get(3, 2));
    EXPECT_EQ(kT, picture.Get(4, 0));
    EXPECT_EQ(kT, picture.Get(0, 3));

    std::string png = Png3x2(dir);
    ASSERT_FALSE(png.empty());
    ASSERT_TRUE(QxpLoadPictureFile(dir.WriteFile("yellow.PNG", png).c_str(), 16, 16, picture));
    EXPECT_EQ(RGB(255, 255, 0), picture.Get(0, 0));
    EXPECT_EQ(RGB(0, 0, 0), picture.Get(2, 1));
    EXPECT_EQ(kT, picture.Get(3, 0));

    // The bitmap loader goes by the bytes, not by the name.
    ASSERT_TRUE(QxpLoadPictureFile(dir.WriteFile("named.png", Bmp24(2, 2)).c_str(), 16, 16, picture));
    EXPECT_EQ(kBlue, picture.Get(0, 0));

    // An alpha icon keeps its alpha.
    ASSERT_TRUE(QxpLoadPictureFile(dir.WriteFile("green.ico", Ico32()).c_str(), 16, 16, picture));
    EXPECT_TRUE(picture.bAlpha);
    EXPECT_EQ(RGB(0, 0xC0, 0), picture.Get(4, 4));
    EXPECT_EQ(255, picture.GetAlpha(4, 4));
    EXPECT_EQ(0x80, picture.GetAlpha(4, 0));
    EXPECT_EQ(kT, picture.Get(15, 15));

    // The system's loader, scaled to the picture.
    ASSERT_TRUE(QxpLoadPictureFile(dir.WriteFile("dot.gif", Gif1()).c_str(), 16, 16, picture));
    EXPECT_EQ(kRed, picture.Get(0, 0));
    EXPECT_EQ(kRed, picture.Get(15, 15));
}

TEST(ButtonEditorPictures, DamagedFilesAreRefusedAndChangeNothing)
{
    qmtest::TempDir dir("qxbe");
    const std::string bmp = Bmp24(16, 16), ico = Ico32(), gif = Gif1(), png = Png3x2(dir);
    ASSERT_FALSE(png.empty());
    const std::string garbage = std::string(300, '\xA5') + "not a picture at all";
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"half.bmp", bmp.substr(0, bmp.size() / 2)},
        {"header.bmp", bmp.substr(0, 20)},
        {"garbage.bmp", garbage},
        {"empty.bmp", std::string()},
        {"half.ico", ico.substr(0, ico.size() / 2)},
        {"directory.ico", ico.substr(0, 22)},
        {"garbage.ico", garbage},
        {"half.png", png.substr(0, png.size() / 2)},
        {"signature.png", png.substr(0, 8)},
        {"garbage.png", garbage},
        {"text.png", std::string("hello, world\r\n")},
        {"half.gif", gif.substr(0, gif.size() - 6)},
        {"header.gif", gif.substr(0, 13)},
        {"garbage.gif", garbage},
        {"start.jpg", JpegStart()},
        {"signature.jpg", JpegStart().substr(0, 3)},
        {"garbage.jpg", garbage},
        {"text.jpg", std::string("hello, world\r\n")},
        {"empty.jpg", std::string()},
    };
    QXPEditorPicture before(16, 16);
    before.Set(5, 5, kRed);
    for (const auto& c : cases) {
        QXPEditorPicture picture = before;
        EXPECT_FALSE(QxpLoadPictureFile(dir.WriteFile(c.name, c.bytes).c_str(), 16, 16, picture)) << c.name;
        EXPECT_EQ(before, picture) << c.name;
    }
    QXPEditorPicture picture = before;
    EXPECT_FALSE(QxpLoadPictureFile((dir.Path() + "\\missing.bmp").c_str(), 16, 16, picture));
    EXPECT_FALSE(QxpLoadPictureFile((dir.Path() + "\\missing.gif").c_str(), 16, 16, picture));
    EXPECT_EQ(before, picture);

    // In the editor: a message naming the file, no edit recorded.
    CQXPImageEditorDlg dlg(NULL, FALSE);
    dlg.SetPictureSize(16, 16);
    dlg.GetModel().BeginStroke(5, 5);
    dlg.GetModel().EndStroke();
    const QXPEditorPicture edited = dlg.GetModel().GetPicture();
    qmtest::MessageBoxRecorder boxes;
    std::string damaged = dir.WriteFile("again.png", png.substr(0, png.size() / 2));
    EXPECT_FALSE(dlg.ImportFile(damaged.c_str()));
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_NE(std::string::npos, boxes.Texts()[0].find(damaged)) << boxes.Texts()[0];
    EXPECT_NE(std::string::npos, boxes.Texts()[0].find("cannot be read")) << boxes.Texts()[0];
    EXPECT_EQ(edited, dlg.GetModel().GetPicture());
    EXPECT_EQ(1, dlg.GetModel().GetUndoCount());
    // A good file is one edit.
    EXPECT_TRUE(dlg.ImportFile(dir.WriteFile("good.bmp", bmp).c_str()));
    EXPECT_EQ(2, dlg.GetModel().GetUndoCount());
    EXPECT_EQ(kRed, dlg.GetModel().GetPicture().Get(5, 5));
    EXPECT_EQ(1u, boxes.Texts().size());
}

} // namespace
