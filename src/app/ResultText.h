#pragma once

#include "inventory/OVInventoryBase.h"

#include <QString>

#include <optional>
#include <vector>

extern const QString kInventoryCollection;  // "インベントリ収集", the title of every box
extern const QString kDataCollectionEnded;  // what the end of the program says
extern const QString kDataCollectionFailed; // the failed local save
extern const QString kSendingToServer;      // the progress text during the delivery
extern const QString kNotDelivered;         // the line that says why the delivery failed, before its reason

// The local report: four lines with the saved file's path in 「」, or the failure text.
QString localResultText(int saveResult, const QString &savePath);

// The network report's window: "AllOK", "AllNG", "NetworkNG", "LocalNG", or none when only higher bits are
// set.
std::optional<QString> networkResultWindow(int saveResult);

// "一部の情報を収集できませんでした：プリンタ、..." naming the data types in the user's words, or "" for
// none.
QString incompleteNote(const std::vector<MissingDataType> &missing);
