// The window tests: every test class on the offscreen platform, in one program.
#include <QApplication>
#include <QtTest>

#include "command_test.h"
#include "drop_test.h"
#include "startup_test.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    int failures = 0;
    {
        tama05::test::StartupTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        tama05::test::DropTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        tama05::test::CommandTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
