// The windows need an application object; the tests run on Qt's offscreen
// platform unless the environment names another.
#include <gtest/gtest.h>

#include "widgets/Application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vivizu::TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Vivizu"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
