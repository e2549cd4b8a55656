// The picture model of the button image editor, without windows: strokes
// and their undo steps, the pencil that erases, picking a colour, shapes,
// fills, moves that lose what leaves the picture, and the drawing area's
// cells.
#include <qx/buttoneditor.h>

#include <gtest/gtest.h>

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

} // namespace
