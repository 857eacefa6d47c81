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
        xpcalc::quietHarmlessQtNotices();

        const QString slowScreenReader = QStringLiteral(
            R"(QSpiApplication::keyEventError  "org.freedesktop.DBus.Error.NoReply" "Did not receive a reply.")");
        const QString goneScreenReader = QStringLiteral(
            R"(QSpiApplication::keyEventError  "org.freedesktop.DBus.Error.ServiceUnknown" "The name is not activatable")");
        const QString lateScreenReader =
            QStringLiteral("QSpiApplication::notifyKeyboardListenerCallback with no queued key called");
        const struct {
            QString message;
            QtMsgType type;
            bool shown;
        } cases[] = {
            {slowScreenReader, QtWarningMsg, false},
            {lateScreenReader, QtWarningMsg, false},
            {lateScreenReader + QStringLiteral(" twice"), QtWarningMsg, true},
            {goneScreenReader, QtWarningMsg, true},
            {QStringLiteral("copy failed"), QtWarningMsg, true},
            {slowScreenReader, QtCriticalMsg, true},
        };
        for (const auto &notice : cases) {
            passedOn.clear();
            qt_message_output(notice.type, QMessageLogContext(), notice.message);
            QVERIFY2(passedOn == (notice.shown ? QStringList{notice.message} : QStringList{}),
                     qPrintable(notice.message));
        }

        // Installed once: a second call does not wrap the filter in itself.
        xpcalc::quietHarmlessQtNotices();
        passedOn.clear();
        qt_message_output(QtWarningMsg, QMessageLogContext(), QStringLiteral("copy failed"));
        QCOMPARE(passedOn, QStringList{QStringLiteral("copy failed")});
    }
};

QTEST_APPLESS_MAIN(QtNoticesTest)
#include "qt_notices_test.moc"
