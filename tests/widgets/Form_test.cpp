// A window shown modally: where it shows, and every way the wait ends.
#include "widgets/Form.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace vivizu;

namespace {

// Runs action on the window once it shows modally (ShowModal does not
// return before the wait has ended).
void WhenShown(std::function<void(TForm&)> action) {
  QTimer::singleShot(0, [action] {
    auto* form = qobject_cast<TForm*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    action(*form);
  });
}

class ModalForm : public ::testing::Test {
 protected:
  ModalForm() {
    Owner.setGeometry(200, 150, 592, 452);
    Owner.show();
  }
  QWidget Owner;
};

TEST_F(ModalForm, AResultEndsTheWaitAndClosingEndsItWithout) {
  TForm form(&Owner);
  form.SetClientSize(340, 180);
  QRect shownAt;
  bool modal = false;
  WhenShown([&](TForm& shown) {
    shownAt = shown.geometry();
    modal = shown.isModal();
    shown.SetModalResult(mrNone);  // no result yet: still waiting
    shown.SetModalResult(mrOk);
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_TRUE(modal);
  EXPECT_FALSE(form.isVisible());
  // Centred on its parent: (592 - 340) / 2, (452 - 180) / 2.
  EXPECT_EQ(shownAt, QRect(200 + 126, 150 + 136, 340, 180));

  // A fresh showing starts without a result; closing ends it so.
  WhenShown([](TForm& shown) { shown.Close(); });
  EXPECT_EQ(form.ShowModal(), mrNone);
  EXPECT_EQ(form.ModalResult(), mrNone);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(ModalForm, IsCentredOnTheWindowItIsGiven) {
  TForm form;
  form.SetClientSize(418, 283);
  QRect shownAt;
  WhenShown([&](TForm& shown) {
    shownAt = shown.geometry();
    shown.SetModalResult(mrCancel);
  });
  EXPECT_EQ(form.ShowModal(&Owner), mrCancel);
  EXPECT_EQ(shownAt, QRect(200 + 87, 150 + 84, 418, 283));
}

TEST_F(ModalForm, DestroyedWhileShowingEndsTheWaitWithCancel) {
  QPointer<TForm> form = new TForm(&Owner);
  WhenShown([](TForm& shown) { delete &shown; });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_TRUE(form.isNull());
}

}  // namespace
