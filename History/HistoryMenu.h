#pragma once

class HistoryRecorder;
class HistoryStore;
class QMenu;

// The history's preferences, kept in the user's own: "Keep chat history" (on
// by default) and "Delete chats older than" never, 30, 90 or 365 days. The
// age is applied as it is chosen and at every start. "Largest history" (100 MiB,
// 1 GiB by default, or 10 GiB) deletes the oldest chats to keep it within.
void AddHistoryPreferences(QMenu &menu, HistoryRecorder &recorder, HistoryStore &store);
