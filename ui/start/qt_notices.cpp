// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "qt_notices.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <mutex>

namespace xpcalc {
namespace {

// Read by whichever thread logs.
std::atomic<QtMessageHandler> g_previousHandler{nullptr};

bool isHarmless(QtMsgType type, const QString &message)
{
    if (type != QtWarningMsg)
        return false;
    // A screen reader took longer than Qt's 100 ms to say whether it wanted a
    // key; Qt then hands the key to the program itself, and nothing is lost.
    // Its late answer, when it comes, finds no key waiting for it.
    return (message.startsWith(QLatin1String("QSpiApplication::keyEventError")) &&
            message.contains(QLatin1String("org.freedesktop.DBus.Error.NoReply"))) ||
           message == QLatin1String("QSpiApplication::notifyKeyboardListenerCallback with no queued key called");
}

void passOnAllButHarmless(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isHarmless(type, message))
        return;
    if (const QtMessageHandler previous = g_previousHandler.load())
        previous(type, context, message);
}

} // namespace

void quietHarmlessQtNotices()
{
    static std::once_flag installed;
    std::call_once(installed, [] { g_previousHandler = qInstallMessageHandler(passOnAllButHarmless); });
}

} // namespace xpcalc
