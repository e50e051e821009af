// Qt's own texts follow the window's language: the standard buttons of a
// message box and the file dialog's labels, switched with the language menu.
#include "EditorTestSupport.h"

#include "i18n/QtTexts.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

QString CancelOfMessageBox() {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Cancel);
    return box.button(QMessageBox::Cancel)->text();
}

// The file name label (without its accelerator) of the file dialog as Qt
// draws it itself (the one the program shows where the
// desktop offers none of its own).
QString FileNameLabelOfFileDialog() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    return label ? label->text().remove(QLatin1Char('&')) : QStringLiteral("<none>");
}

} // namespace

TEST(QtTexts, FollowTheLanguageChosenInTheMenuAndGoBackToEnglish) {
    TDialogSeams seams;
    TFrmMP3Editor form;
    const QString englishCancel = CancelOfMessageBox();
    const QString englishFileName = FileNameLabelOfFileDialog();
    ASSERT_EQ(englishCancel, QStringLiteral("Cancel"));

    TEditorControls(form).PM_German->DoClick();
    EXPECT_EQ(CancelOfMessageBox(), QStringLiteral("Abbrechen"));
    EXPECT_NE(FileNameLabelOfFileDialog(), englishFileName);
    EXPECT_TRUE(FileNameLabelOfFileDialog().contains(QStringLiteral("Dateiname"))) << FileNameLabelOfFileDialog().toStdString();

    TEditorControls(form).PM_French->DoClick();
    EXPECT_EQ(CancelOfMessageBox(), QStringLiteral("Annuler"));

    TEditorControls(form).PM_English->DoClick();
    EXPECT_EQ(CancelOfMessageBox(), englishCancel);
    EXPECT_EQ(FileNameLabelOfFileDialog(), englishFileName);
}

TEST(QtTexts, EveryLanguageOfTheProgramHasQtsCatalogue) {
    TQtTexts texts;
    for (int language : {1, 2, 3, 4})
        EXPECT_TRUE(texts.Apply(language)) << QtLanguageCode(language).toStdString();
    EXPECT_TRUE(texts.Apply(0));
    // The numbers shown in English, and a folder without catalogues.
    EXPECT_EQ(QtLanguageCode(5), QStringLiteral("en"));
    EXPECT_EQ(QtLanguageCode(7), QStringLiteral("en"));
    EXPECT_FALSE(texts.Apply(2, QStringLiteral("/nonexistent")));
    EXPECT_EQ(CancelOfMessageBox(), QStringLiteral("Cancel"));
}
