#include "HistoryMenu.h"

#include "HistoryRecorder.h"
#include "UserPreferences.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

#include <functional>
#include <iterator>

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

// A submenu of values, the one chosen checked. Choosing one keeps it under
// `key` in the user's preferences and applies it; the chosen one is applied now.
void AddChoices(QMenu &menu, const QString &title, const char *key, const QList<int> &values, int chosen,
                const std::function<QString(int)> &textOf, const std::function<void(int)> &apply, QObject &context)
{
    QMenu *choices = menu.addMenu(title);
    auto *group = new QActionGroup(choices);
    for (const int value : values) {
        QAction *choice = choices->addAction(textOf(value));
        choice->setCheckable(true);
        choice->setChecked(value == chosen);
        group->addAction(choice);
        QObject::connect(choice, &QAction::triggered, &context, [key, value, apply] {
            QSettings preferences = UserPreferences();
            preferences.setValue(QString::fromLatin1(key), value);
            apply(value);
        });
    }
    apply(chosen);
}

void AddLargestSize(QMenu &menu, HistoryRecorder &recorder)
{
    int chosen = UserPreferences().value(QString::fromLatin1(kLargestKey), kLargestByDefaultMiB).toInt();
    if (chosen <= 0)
        chosen = kLargestByDefaultMiB; // a damaged preference never lifts the limit
    AddChoices(menu, QCoreApplication::translate("HistoryMenu", "&Largest history"), kLargestKey,
               {std::begin(kLargestChoicesMiB), std::end(kLargestChoicesMiB)}, chosen, SizeText,
               [&recorder](int mebibytes) { recorder.SetLargest(BytesOf(mebibytes)); }, recorder);
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

    const auto ageText = [](int days) {
        return days == 0 ? QCoreApplication::translate("HistoryMenu", "&Never")
                         : QCoreApplication::translate("HistoryMenu", "%n days", nullptr, days);
    };
    AddChoices(menu, QCoreApplication::translate("HistoryMenu", "&Delete chats older than"), kDaysKey,
               {std::begin(kAges), std::end(kAges)}, UserPreferences().value(QString::fromLatin1(kDaysKey), 0).toInt(),
               ageText, [&store](int days) { DeleteOlderThan(store, days); }, recorder);
    AddLargestSize(menu, recorder);
}
