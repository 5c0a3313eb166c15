#pragma once

#include <QString>

#include <optional>

// macOS runs a quarantined app that was started where it was unzipped from a read-only copy of the bundle
// alone (App Translocation): the folder that should hold DAT/ and SAVE/ is then one of macOS's own.
bool isTranslocated(const QString &programFolder);
// What a user who started the program that way must do, in Japanese.
extern const QString kTranslocatedAdvice;

// Why a run could not save into SAVE/ of the program's folder, in the user's words ("保存先フォルダに書き込め
// ません：<folder>（<the system's reason>）", or the advice above); absent when the folder exists or
// was made now and a file can be written in it. Asked before any command of a run starts.
std::optional<QString> saveFolderProblem();
