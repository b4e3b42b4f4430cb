#include "HistoryMenu.h"

#include "HistoryRecorder.h"
#include "UserPreferences.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

namespace {

const char *const kKeepKey = "history";
const char *const kDaysKey = "historyDays";
constexpr int kAges[] = {0, 30, 90, 365}; // 0: never
const char *const kLargestKey = "historyLargestMiB";
constexpr int kLargestChoicesMiB[] = {100, 1024, 10240};
constexpr int kLargestByDefaultMiB = 1024;

qint64 BytesOf(int mebibytes)
{
    return qint64(mebibytes) * 1024 * 1024;
}

QString SizeText(int mebibytes)
{
    return mebibytes < 1024 ? QCoreApplication::translate("HistoryMenu", "%1 MiB").arg(mebibytes)
                            : QCoreApplication::translate("HistoryMenu", "%1 GiB").arg(mebibytes / 1024);
}

void AddLargestSize(QMenu &menu, HistoryRecorder &recorder)
{
    QMenu *largest = menu.addMenu(QCoreApplication::translate("HistoryMenu", "&Largest history"));
    auto *sizes = new QActionGroup(largest);
    int chosen = UserPreferences().value(QString::fromLatin1(kLargestKey), kLargestByDefaultMiB).toInt();
    if (chosen <= 0)
        chosen = kLargestByDefaultMiB; // a damaged preference never lifts the limit
    for (const int mebibytes : kLargestChoicesMiB) {
        QAction *choice = largest->addAction(SizeText(mebibytes));
        choice->setCheckable(true);
        choice->setChecked(mebibytes == chosen);
        sizes->addAction(choice);
        QObject::connect(choice, &QAction::triggered, &recorder, [&recorder, mebibytes] {
            QSettings preferences = UserPreferences();
            preferences.setValue(QString::fromLatin1(kLargestKey), mebibytes);
            recorder.SetLargest(BytesOf(mebibytes));
        });
    }
    recorder.SetLargest(BytesOf(chosen));
}

void DeleteOlderThan(HistoryStore &store, int days)
{
    if (days > 0)
        store.DeleteChatsBefore(QDateTime::currentDateTime().addDays(-days));
}

} // namespace

void AddHistoryPreferences(QMenu &menu, HistoryRecorder &recorder, HistoryStore &store)
{
    QAction *keep = menu.addAction(QCoreApplication::translate("HistoryMenu", "&Keep chat history"));
    KeepSwitchInPreferences(*keep, QString::fromLatin1(kKeepKey), true);
    recorder.SetKeeping(keep->isChecked());
    QObject::connect(keep, &QAction::toggled, &recorder, &HistoryRecorder::SetKeeping);

    QMenu *age = menu.addMenu(QCoreApplication::translate("HistoryMenu", "&Delete chats older than"));
    auto *ages = new QActionGroup(age);
    const int chosen = UserPreferences().value(QString::fromLatin1(kDaysKey), 0).toInt();
    for (const int days : kAges) {
        QAction *choice =
            age->addAction(days == 0 ? QCoreApplication::translate("HistoryMenu", "&Never")
                                     : QCoreApplication::translate("HistoryMenu", "%n days", nullptr, days));
        choice->setCheckable(true);
        choice->setChecked(days == chosen);
        ages->addAction(choice);
        QObject::connect(choice, &QAction::triggered, &recorder, [&store, days] {
            QSettings preferences = UserPreferences();
            preferences.setValue(QString::fromLatin1(kDaysKey), days);
            DeleteOlderThan(store, days);
        });
    }
    DeleteOlderThan(store, chosen);
    AddLargestSize(menu, recorder);
}
