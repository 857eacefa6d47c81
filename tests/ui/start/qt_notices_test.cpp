// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Qt's warnings that report no fault stay off the console; any other
// message, or the same text as another kind of message, goes on.
#include "qt_notices.h"

#include <QScopeGuard>
#include <QtTest>

#include <tuple>

class QtNoticesTest : public QObject {
    Q_OBJECT

private slots:
    void onlyHarmlessNoticesAreDropped()
    {
        static QStringList passedOn;
        // The filter passes on to the handler it finds when installed: here,
        // one that keeps what reaches it.
        const QtMessageHandler testHandler = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &message) { passedOn << message; });
        const auto restore = qScopeGuard([testHandler] { qInstallMessageHandler(testHandler); });
        xpcalc::quietHarmlessQtNotices();

        const QString slow = QStringLiteral(
            R"(QSpiApplication::keyEventError  "org.freedesktop.DBus.Error.NoReply" "Did not receive a reply.")");
        const QString gone = QStringLiteral(
            R"(QSpiApplication::keyEventError  "org.freedesktop.DBus.Error.ServiceUnknown" "The name is not activatable")");
        const QString late =
            QStringLiteral("QSpiApplication::notifyKeyboardListenerCallback with no queued key called");
        const QString failed = QStringLiteral("copy failed");
        const std::tuple<QString, QtMsgType, bool> cases[] = {
            {slow, QtWarningMsg, false},
            {late, QtWarningMsg, false},
            {late + QStringLiteral(" twice"), QtWarningMsg, true},
            {gone, QtWarningMsg, true},
            {failed, QtWarningMsg, true},
            {slow, QtCriticalMsg, true},
        };
        for (const auto &[message, type, shown] : cases) {
            passedOn.clear();
            qt_message_output(type, QMessageLogContext(), message);
            QVERIFY2(passedOn == (shown ? QStringList{message} : QStringList{}), qPrintable(message));
        }

        // Installed once: a second call does not wrap the filter in itself.
        xpcalc::quietHarmlessQtNotices();
        passedOn.clear();
        qt_message_output(QtWarningMsg, QMessageLogContext(), failed);
        QCOMPARE(passedOn, QStringList{failed});
    }
};

QTEST_APPLESS_MAIN(QtNoticesTest)
#include "qt_notices_test.moc"
