#pragma once

#include <QString>

// SQLite's result code (primary or extended) as a German sentence; its own
// English text follows in brackets where the code alone says too little.
QString sqliteGrund(int code, const QString &original);
