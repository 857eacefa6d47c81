// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Qt's warnings that report no fault stay off the console; any other
// message, or the same text as another kind of message, goes on.
#include "qt_notices.h"

#include <QScopeGuard>
#include <QtTest>

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
        const QString slow = QStringLiteral(
            R"(QSpiApplication::keyEventError  "org.freedesktop.DBus.Error.NoReply" "Did not receive a reply.")");
        const QString late =
            QStringLiteral("QSpiApplication::notifyKeyboardListenerCallback with no queued key called");
        const struct {
            QString message;
            QtMsgType type;
            bool shown;
        } cases[] = {
            {slow, QtWarningMsg, false},
            {late, QtWarningMsg, false},
            {late + QStringLiteral(" twice"), QtWarningMsg, true},
            {QStringLiteral(R"(QSpiApplication::keyEventError  "org.freedesktop.DBus.Error.ServiceUnknown" "The name)"
                            R"( is not activatable")"),
             QtWarningMsg, true},
            {QStringLiteral("copy failed"), QtWarningMsg, true},
            {slow, QtCriticalMsg, true},
        };
        // Installed twice, as a second start-up would: once is the filter, not the filter wrapped in itself.
        for (int installs = 1; installs <= 2; ++installs) {
            xpcalc::quietHarmlessQtNotices();
            for (const auto &[message, type, shown] : cases) {
                passedOn.clear();
                qt_message_output(type, QMessageLogContext(), message);
                QVERIFY2(passedOn == (shown ? QStringList{message} : QStringList{}), qPrintable(message));
            }
        }
    }
};

QTEST_APPLESS_MAIN(QtNoticesTest)
#include "qt_notices_test.moc"
