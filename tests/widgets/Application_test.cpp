// The top-level error report: the full-stop rule, reports of exceptions
// thrown in handlers of controls and of windows, and that the program goes on.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <stdexcept>

#include "WidgetsTestSupport.h"
#include "widgets/Application.h"
#include "widgets/Form.h"
#include "widgets/PictureButton.h"

using vivizu::ErrorReportText;
using vivizu::TApplication;

namespace {

TEST(ErrorReport, AppendsAFullStopAfterCharactersAboveIt) {
  EXPECT_EQ(ErrorReportText(QString()), QString());
  EXPECT_EQ(ErrorReportText(QStringLiteral("Disk full")), QStringLiteral("Disk full."));
  EXPECT_EQ(ErrorReportText(QStringLiteral("Error 5")), QStringLiteral("Error 5."));
  EXPECT_EQ(ErrorReportText(QStringLiteral("a/")), QStringLiteral("a/."));  // "/" is above "."
  EXPECT_EQ(ErrorReportText(QStringLiteral("Done.")), QStringLiteral("Done."));
  EXPECT_EQ(ErrorReportText(QStringLiteral("Stop!")), QStringLiteral("Stop!"));
  EXPECT_EQ(ErrorReportText(QStringLiteral("(code 2)")), QStringLiteral("(code 2)"));
  EXPECT_EQ(ErrorReportText(QStringLiteral("a-")), QStringLiteral("a-"));
  // A closing quote is below "." too.
  EXPECT_EQ(ErrorReportText(QStringLiteral("Cannot open file \"a.bmp\"")),
            QStringLiteral("Cannot open file \"a.bmp\""));
  EXPECT_EQ(ErrorReportText(QStringLiteral("Fichier protégé")), QStringLiteral("Fichier protégé."));
}

// The real box, not the hook: an error icon, the title as caption, and the
// message shown as plain text even where it looks like markup.
TEST(ErrorReport, TheBoxShowsTheMessageAsPlainText) {
  int icon = -1, format = -1;
  QString caption, text;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      icon = box->icon();
      format = box->textFormat();
      caption = box->windowTitle();
      text = box->text();
      box->accept();
    }
  });
  TApplication::ReportError(QStringLiteral("Cannot open file \"/tmp/<b>x</b>.mp3\""));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(caption, QStringLiteral("Vivizu"));
  EXPECT_EQ(text, QStringLiteral("Cannot open file \"/tmp/<b>x</b>.mp3\""));
}

// Captures reports for the duration of a test.
class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TApplication::SetReportHook([this](const QString& caption, const QString& text) {
      captions.append(caption);
      texts.append(text);
    });
  }
  void TearDown() override { TApplication::SetReportHook({}); }
  QStringList captions, texts;
};

TEST_F(ReportTest, AnExceptionFromAClickHandlerIsReportedAndTheProgramGoesOn) {
  vivizu::TPictureButton button;
  button.resize(64, 64);
  int clicks = 0;
  QObject::connect(&button, &vivizu::TPictureButton::Click, [&] {
    ++clicks;
    throw std::runtime_error("Access denied");
  });
  button.show();
  QTest::mouseClick(&button, Qt::LeftButton);
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(texts.size(), 2);
  EXPECT_EQ(captions[0], QStringLiteral("Vivizu"));
  EXPECT_EQ(texts[0], QStringLiteral("Access denied."));
}

// An object whose event handler throws past the toolkit's own guards.
class Thrower : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("Thrown in an event handler.");
    return QObject::event(e);
  }
};

TEST_F(ReportTest, TheApplicationCatchesWhatEscapesAnEventHandler) {
  Thrower thrower;
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&thrower, &event);
  ASSERT_EQ(texts.size(), 1);
  EXPECT_EQ(texts[0], QStringLiteral("Thrown in an event handler."));
}

class FailingForm : public vivizu::TForm {
 public:
  int creates = 0, closes = 0;

 protected:
  void FormCreate() override {
    ++creates;
    throw std::runtime_error("No language file");
  }
  void FormClose() override {
    ++closes;
    throw std::runtime_error("Settings not written");
  }
};

TEST_F(ReportTest, AFormWhoseHooksThrowIsStillShownAndStillCloses) {
  FailingForm form;
  form.SetClientSize(200, 100);
  form.Create();
  form.show();  // FormCreate does not run a second time
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.creates, 1);
  EXPECT_EQ(form.size(), QSize(200, 100));
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(form.font().pixelSize(), 11);
  const QRect screen = form.screen()->availableGeometry();
  EXPECT_EQ(form.geometry().center(), screen.center());

  form.Close();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.closes, 1);
  EXPECT_EQ(texts, (QStringList{QStringLiteral("No language file."),
                                QStringLiteral("Settings not written.")}));
}

}  // namespace
