// Runs the window tests in one QApplication on the offscreen platform unless told otherwise.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The offscreen platform warns about every fixed-size window; that says nothing about the tests.
QtMessageHandler defaultHandler = nullptr;
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text == QLatin1String("This plugin does not support propagateSizeHints()")) return;
    if (defaultHandler) {
        defaultHandler(type, context, text);
    } else {
        fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
        if (type == QtFatalMsg) abort();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(FilterMessages);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
