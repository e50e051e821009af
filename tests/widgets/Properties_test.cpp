// Language files set texts and numbers on controls by name. These tests set
// a representative set through QObject::setProperty, as the language code
// does, and check the control really changed.
#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QVariant>

#include <memory>
#include <vector>

#include "WidgetsTestSupport.h"
#include "widgets/CheckBox.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/Form.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
#include "widgets/MaskEdit.h"
#include "widgets/MenuItem.h"
#include "widgets/OpenDialog.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureButton.h"
#include "widgets/PopupMenu.h"
#include "widgets/RadioButton.h"
#include "widgets/SaveDialog.h"
#include "widgets/Separator.h"
#include "widgets/TabSheet.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

namespace vivizu {
namespace {

// Sets a declared property; false for a name the class does not publish
// (QObject::setProperty would add a dynamic property and return false).
bool Set(QObject& object, const char* name, const QVariant& value) {
  return object.setProperty(name, value);
}

TEST(Properties, EveryControlPublishesTheCommonSet) {
  QWidget parent;
  auto* page = new TPageControl(&parent);
  std::vector<QWidget*> controls{
      new TLabel(&parent),      new TLinkLabel(&parent), new TPictureButton(&parent),
      new TGlyphButton(&parent), new TTrackBar(&parent),  new TMaskEdit(&parent),
      new TEdit(&parent),       new TCheckBox(&parent),  new TRadioButton(&parent),
      new TComboBox(&parent),   page,                    new TTabSheet(page),
      new TPanel(&parent),      new TSeparator(&parent), new TImage(&parent),
  };
  TForm form;
  controls.push_back(&form);
  for (QWidget* control : controls) {
    const QMetaObject* meta = control->metaObject();
    for (const char* name : {"Left", "Top", "Width", "Height", "Hint", "Tag", "Enabled", "Visible"}) {
      const int index = meta->indexOfProperty(name);
      ASSERT_GE(index, 0) << meta->className() << " has no " << name;
      EXPECT_TRUE(meta->property(index).isWritable()) << meta->className() << "." << name;
    }
  }
}

TEST(Properties, GeometryHintAndTagByName) {
  QWidget parent;
  TPictureButton button(&parent);
  EXPECT_TRUE(Set(button, "Left", 10));
  EXPECT_TRUE(Set(button, "Top", 20));
  EXPECT_TRUE(Set(button, "Width", 64));
  EXPECT_TRUE(Set(button, "Height", 48));
  EXPECT_TRUE(Set(button, "Hint", QStringLiteral("Cerrar")));
  EXPECT_TRUE(Set(button, "Tag", 3));
  EXPECT_EQ(button.geometry(), QRect(10, 20, 64, 48));
  EXPECT_EQ(button.toolTip(), QStringLiteral("Cerrar"));
  EXPECT_EQ(button.property("Tag").toInt(), 3);

  EXPECT_TRUE(Set(button, "Enabled", false));
  EXPECT_FALSE(button.isEnabled());
  EXPECT_TRUE(Set(button, "Visible", false));
  EXPECT_TRUE(button.isHidden());
}

TEST(Properties, TextsByName) {
  QWidget parent;
  TLabel label(&parent);
  EXPECT_TRUE(Set(label, "Caption", QStringLiteral("Tamaño:")));
  EXPECT_EQ(label.text(), QStringLiteral("Tamaño:"));

  TGlyphButton play(&parent);
  EXPECT_TRUE(Set(play, "Caption", QStringLiteral("&Abspielen")));
  EXPECT_EQ(play.text(), QStringLiteral("&Abspielen"));

  TCheckBox include(&parent);
  EXPECT_TRUE(Set(include, "Caption", QStringLiteral("Incluir")));
  EXPECT_EQ(include.text(), QStringLiteral("Incluir"));

  TMaskEdit time(&parent);
  time.SetEditMask(QStringLiteral("000:00:00.000;1;_"));
  EXPECT_TRUE(Set(time, "Text", QStringLiteral("001:02:03.004")));
  EXPECT_EQ(time.displayText(), QStringLiteral("001:02:03.004"));

  TEdit edit(&parent);
  EXPECT_TRUE(Set(edit, "Text", QStringLiteral("Titel")));
  EXPECT_EQ(edit.text(), QStringLiteral("Titel"));

  TComboBox combo(&parent);
  EXPECT_TRUE(Set(combo, "Items", QStringList{QStringLiteral("Uno"), QStringLiteral("Dos")}));
  EXPECT_EQ(combo.count(), 2);
  EXPECT_EQ(combo.itemText(1), QStringLiteral("Dos"));

  TPageControl pages(&parent);
  TTabSheet standard(&pages);
  TTabSheet tags(&pages);
  EXPECT_TRUE(Set(tags, "Caption", QStringLiteral("Etiquetas")));
  EXPECT_EQ(pages.tabText(1), QStringLiteral("Etiquetas"));

  TForm form;
  EXPECT_TRUE(Set(form, "Caption", QStringLiteral("Acerca de")));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Acerca de"));
}

TEST(Properties, NonVisualComponentsByName) {
  TOpenDialog open;
  EXPECT_TRUE(Set(open, "Title", QStringLiteral("Abrir archivo MP3")));
  EXPECT_TRUE(Set(open, "Filter", QStringLiteral("MP3(*.mp3)|*.mp3")));
  EXPECT_EQ(open.Title(), QStringLiteral("Abrir archivo MP3"));
  EXPECT_EQ(open.Filter(), QStringLiteral("MP3(*.mp3)|*.mp3"));

  TSaveDialog save;
  EXPECT_TRUE(Set(save, "Title", QStringLiteral("Guardar")));
  EXPECT_EQ(save.Title(), QStringLiteral("Guardar"));

  TPopupMenu menu;
  TMenuItem english(&menu);
  EXPECT_TRUE(Set(english, "Caption", QStringLiteral("Inglés")));
  EXPECT_EQ(english.Caption(), QStringLiteral("Inglés"));

  TTimer timer;
  EXPECT_TRUE(Set(timer, "Interval", 250));
  EXPECT_EQ(timer.Interval(), 250);

  // An unknown name is refused (it only becomes a dynamic property).
  EXPECT_FALSE(Set(open, "Caption", QStringLiteral("x")));
}

}  // namespace
}  // namespace vivizu
