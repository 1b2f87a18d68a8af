#pragma once

#include <QtGlobal>

// Whether a process has ended: gone, or a zombie nobody has reaped yet.
bool processGone(qint64 pid);
