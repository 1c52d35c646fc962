// SPDX-License-Identifier: MIT
// Runs the tests inside a Qt application on the offscreen platform: no display needed.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(tessix);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
