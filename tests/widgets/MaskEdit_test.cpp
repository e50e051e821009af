// The masked time field: its text with blanks, typing and deleting with real
// key events, the Change() signal, and the caret.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "widgets/MaskEdit.h"
#include "WidgetsTestSupport.h"

using vivizu::TMaskEdit;

namespace {

constexpr const char* kTimeMask = "000:00:00.000;1;_";

class MaskEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit.SetEditMask(QString::fromLatin1(kTimeMask));
    edit.SetMaxLength(13);
    edit.show();
    edit.setFocus();
  }
  TMaskEdit edit;
};

TEST_F(MaskEditTest, TranslatesTheMask) {
  EXPECT_EQ(TMaskEdit::ToInputMask(QString::fromLatin1(kTimeMask)), QStringLiteral("000:00:00.000;_"));
  // Letters, escapes, a Qt mask character as literal and a blank of our own.
  EXPECT_EQ(TMaskEdit::ToInputMask(QStringLiteral("LL\\0-a;1; ")), QStringLiteral("aa\\0-n; "));
}

TEST_F(MaskEditTest, TextHasASpaceInEveryUnfilledPosition) {
  edit.SetText(QString());
  EXPECT_EQ(edit.Text(), QStringLiteral("   :  :  .   "));
  EXPECT_EQ(edit.DisplayText(), QStringLiteral("___:__:__.___"));

  edit.SetText(QStringLiteral("000:0 :00.0 0"));
  EXPECT_EQ(edit.Text(), QStringLiteral("000:0 :00.0 0"));
  EXPECT_EQ(edit.DisplayText(), QStringLiteral("000:0_:00.0_0"));

  // The blank character works as well as a space, and nothing shifts.
  edit.SetText(QStringLiteral("1_2:_4:5_._67"));
  EXPECT_EQ(edit.Text(), QStringLiteral("1 2: 4:5 . 67"));
  EXPECT_EQ(edit.Text().size(), 13);

  // A character a digit position cannot take leaves it unfilled.
  edit.SetText(QStringLiteral("12x:34:56.789"));
  EXPECT_EQ(edit.Text(), QStringLiteral("12 :34:56.789"));
}

TEST_F(MaskEditTest, LiteralsCanStayOutOfText) {
  TMaskEdit other;
  other.SetEditMask(QStringLiteral("00-00;0;_"));
  other.SetText(QStringLiteral("12 4"));
  EXPECT_EQ(other.Text(), QStringLiteral("12 4"));
  EXPECT_EQ(other.DisplayText(), QStringLiteral("12-_4"));
}

TEST_F(MaskEditTest, TypingOverwritesAndStepsOverLiterals) {
  edit.SetText(QStringLiteral("000:00:00.000"));
  edit.SetSelStart(4);
  QTest::keyClick(&edit, Qt::Key_7);
  EXPECT_EQ(edit.Text(), QStringLiteral("000:70:00.000"));
  EXPECT_EQ(edit.SelStart(), 5);

  QTest::keyClick(&edit, Qt::Key_3);  // last minute digit; the caret skips ":"
  EXPECT_EQ(edit.Text(), QStringLiteral("000:73:00.000"));
  EXPECT_EQ(edit.SelStart(), 7);

  // The caret never rests on a literal: moving it left onto ":" puts it on
  // the digit before, moving it right onto "." puts it on the digit after.
  edit.SetSelStart(3);
  EXPECT_EQ(edit.SelStart(), 2);
  edit.SetSelStart(9);
  EXPECT_EQ(edit.SelStart(), 10);
  QTest::keyClick(&edit, Qt::Key_1);
  EXPECT_EQ(edit.Text(), QStringLiteral("000:73:00.100"));

  // Letters, spaces and the blank character are no input for a digit.
  edit.SetSelStart(8);
  QTest::keyClick(&edit, Qt::Key_A);
  QTest::keyClick(&edit, Qt::Key_Space);
  QTest::keyClick(&edit, Qt::Key_Underscore, Qt::ShiftModifier);
  EXPECT_EQ(edit.Text(), QStringLiteral("000:73:00.100"));
  EXPECT_EQ(edit.SelStart(), 8);
}

TEST_F(MaskEditTest, DeletingBlanksWithoutShifting) {
  edit.SetText(QStringLiteral("123:45:56.789"));
  edit.SetSelStart(7);
  QTest::keyClick(&edit, Qt::Key_Backspace);  // steps over ":" to the digit before
  EXPECT_EQ(edit.Text(), QStringLiteral("123:4 :56.789"));
  EXPECT_EQ(edit.SelStart(), 5);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.Text(), QStringLiteral("123:  :56.789"));
  EXPECT_EQ(edit.SelStart(), 4);

  edit.SetSelStart(10);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.Text(), QStringLiteral("123:  :56. 89"));
  EXPECT_EQ(edit.SelStart(), 10);

  // A selection is blanked as a whole, literals stay.
  edit.SetSelStart(1);
  edit.SetSelLength(8);
  EXPECT_EQ(edit.SelStart(), 1);
  EXPECT_EQ(edit.SelLength(), 8);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.Text(), QStringLiteral("1  :  :  . 89"));
}

TEST_F(MaskEditTest, ChangeFiresOncePerChangeOfText) {
  edit.SetText(QStringLiteral("000:00:00.000"));
  QSignalSpy spy(&edit, &TMaskEdit::Change);

  edit.SetText(QStringLiteral("000:00:00.000"));  // the same text: no change
  EXPECT_EQ(spy.count(), 0);
  edit.SetText(QStringLiteral("000:01:00.000"));
  EXPECT_EQ(spy.count(), 1);

  edit.SetSelStart(0);
  QTest::keyClick(&edit, Qt::Key_1);
  QTest::keyClick(&edit, Qt::Key_2);
  EXPECT_EQ(spy.count(), 3);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(spy.count(), 4);
  QTest::keyClick(&edit, Qt::Key_A);  // refused: no change
  EXPECT_EQ(spy.count(), 4);
}

// What the window's change handler does: it rewrites the text from inside
// Change() (under its Tag guard) and puts the caret back where it was.
TEST_F(MaskEditTest, TextCanBeRewrittenFromInsideChange) {
  edit.SetText(QStringLiteral("000:00:00.000"));
  int handled = 0;
  QObject::connect(&edit, &TMaskEdit::Change, [&] {
    if (edit.Tag() != 0) return;
    ++handled;
    QString text = edit.Text();
    if (text[4] > u'5') text[4] = u'5';
    text.replace(u' ', u'0');
    if (text == edit.Text()) return;
    const int start = edit.SelStart();
    const int length = edit.SelLength();
    edit.SetTag(1);
    edit.SetText(text);
    edit.SetSelStart(start);
    edit.SetSelLength(length);
    edit.SetTag(0);
  });

  edit.SetSelStart(4);
  QTest::keyClick(&edit, Qt::Key_7);
  EXPECT_EQ(edit.Text(), QStringLiteral("000:50:00.000"));
  EXPECT_EQ(edit.SelStart(), 5);
  EXPECT_EQ(edit.SelLength(), 0);

  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.Text(), QStringLiteral("000:00:00.000"));
  EXPECT_EQ(edit.SelStart(), 4);

  // Typing goes on normally after a rewrite.
  QTest::keyClick(&edit, Qt::Key_2);
  QTest::keyClick(&edit, Qt::Key_9);
  EXPECT_EQ(edit.Text(), QStringLiteral("000:29:00.000"));
  EXPECT_EQ(edit.SelStart(), 7);
  EXPECT_EQ(handled, 4);
}

}  // namespace
