// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "resident_memory.h"

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

// Start-up probe for the benchmarks: once the window has painted for the first
// time, prints "painted RSS_KIB" on standard output and ends the program at
// once. Tearing down is no part of start-up, and a profile of the probe
// (tools/startup_profile.sh) should not count it.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(QWidget *window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            // Report once this paint has been drawn and put on the screen.
            QTimer::singleShot(0, this, [] {
                std::printf("painted %ld\n", residentKiB());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = false;
};
