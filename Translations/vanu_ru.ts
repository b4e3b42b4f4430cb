<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>ChatFindBar</name>
    <message>
        <source>Find:</source>
        <translation>Найти:</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 из %2</translation>
    </message>
    <message>
        <source>Find in the chat</source>
        <translation>Поиск в чате</translation>
    </message>
    <message>
        <source>Enter and Shift+Enter step through the matches; Escape closes</source>
        <translation>Enter и Shift+Enter переходят по совпадениям; Escape закрывает</translation>
    </message>
    <message>
        <source>Matches</source>
        <translation>Совпадения</translation>
    </message>
</context>
<context>
    <name>ChatNotifications</name>
    <message>
        <source>&amp;Notify</source>
        <translation>&amp;Уведомлять</translation>
    </message>
    <message>
        <source>New guest coming from address: %1</source>
        <translation>Новый гость с адреса %1</translation>
    </message>
    <message numerus="yes">
        <source>While you were busy: %n new messages. The last: %1</source>
        <translation>
            <numerusform>Пока вы были заняты: %n новое сообщение. Последнее: %1</numerusform>
            <numerusform>Пока вы были заняты: %n новых сообщения. Последнее: %1</numerusform>
            <numerusform>Пока вы были заняты: %n новых сообщений. Последнее: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Private message from %1: %2</source>
        <translation>Личное сообщение от %1: %2</translation>
    </message>
</context>
<context>
    <name>ChatPane</name>
    <message>
        <source>Chat</source>
        <translation>Чат</translation>
    </message>
    <message>
        <source>The lines of the chat, the newest last</source>
        <translation>Строки чата, новые внизу</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>Your line; Enter sends it to everybody in the chat</source>
        <translation>Ваша строка; Enter отправляет её всем в чате</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Vanu: text chat between several people on one local network.</source>
        <translation>Vanu: текстовый чат для нескольких человек в одной локальной сети.</translation>
    </message>
    <message>
        <source>A setup file (.set) to load and confirm.</source>
        <translation>Файл настроек (.set), который нужно загрузить и подтвердить.</translation>
    </message>
    <message>
        <source>Print the last 50 lines of the chat history, or with words after it every kept line that has them all.</source>
        <translation>Вывести последние 50 строк истории чатов или, если после ключа указаны слова, все сохранённые строки, где есть каждое из них.</translation>
    </message>
    <message>
        <source>Only one setup file can be given.</source>
        <translation>Можно указать только один файл настроек.</translation>
    </message>
    <message>
        <source>Send the files and folders named after it: the running copy asks to whom.</source>
        <translation>Отправить файлы и папки, названные после него: запущенная копия спросит, кому.</translation>
    </message>
    <message>
        <source>Name the files to send after --send.</source>
        <translation>Укажите файлы для отправки после --send.</translation>
    </message>
</context>
<context>
    <name>ConversationWindow</name>
    <message>
        <source>Private message to %1</source>
        <translation>Личное сообщение для %1</translation>
    </message>
    <message>
        <source>%1 (%2 new)</source>
        <translation>%1 (новых: %2)</translation>
    </message>
    <message>
        <source>%1&apos;s key has changed since you last chatted. It was %2 and is now %3. If %1 did not make a new key, someone else may be using the name: ask %1 in person.</source>
        <translation>Ключ %1 изменился с вашего прошлого разговора. Был %2, теперь %3. Если %1 не создавал(а) новый ключ, этим именем может пользоваться кто-то другой: спросите %1 лично.</translation>
    </message>
    <message>
        <source>  (waiting)</source>
        <translation>  (ожидает)</translation>
    </message>
    <message>
        <source>  (delivered)</source>
        <translation>  (доставлено)</translation>
    </message>
    <message>
        <source>Send &amp;file...</source>
        <translation>Отправить &amp;файл...</translation>
    </message>
    <message>
        <source>Send files to %1 (Ctrl+Shift+F), or drop them on this window</source>
        <translation>Отправить файлы %1 (Ctrl+Shift+F) или перетащить их на это окно</translation>
    </message>
</context>
<context>
    <name>FileChoice</name>
    <message>
        <source>%1 is a link to %2, which does not exist. Choose another name.</source>
        <translation>%1 — ссылка на %2, а такого файла нет. Выберите другое имя.</translation>
    </message>
    <message>
        <source>OK to overwrite %1</source>
        <translation>Перезаписать %1?</translation>
    </message>
</context>
<context>
    <name>FileLink</name>
    <message>
        <source>The file connection ended.</source>
        <translation>Соединение для файлов закрыто.</translation>
    </message>
    <message>
        <source>The other copy is not the one its key was announced for.</source>
        <translation>Другая копия — не та, чей ключ был объявлен.</translation>
    </message>
</context>
<context>
    <name>FileRelay</name>
    <message>
        <source>The host does not relay files.</source>
        <translation>Хост не пересылает файлы.</translation>
    </message>
    <message>
        <source>The host relays no file larger than %1 MiB.</source>
        <translation>Хост не пересылает файлы больше %1 МиБ.</translation>
    </message>
</context>
<context>
    <name>FileSharing</name>
    <message>
        <source>Send files</source>
        <translation>Отправить файлы</translation>
    </message>
    <message>
        <source>Send &amp;file...</source>
        <translation>Отправить &amp;файл...</translation>
    </message>
    <message>
        <source>Trans&amp;fers</source>
        <translation>Пере&amp;дачи</translation>
    </message>
    <message>
        <source>Send files to %1</source>
        <translation>Отправить файлы: %1</translation>
    </message>
    <message>
        <source>All files (*)|*</source>
        <translation>Все файлы (*)|*</translation>
    </message>
    <message>
        <source>%1 is not in the chat, or cannot take files.</source>
        <translation>%1 нет в чате, или он не может принимать файлы.</translation>
    </message>
    <message>
        <source>Save the files from %1 in</source>
        <translation>Сохранить файлы от %1 в</translation>
    </message>
    <message>
        <source>%1 offers %2, %3</source>
        <translation>%1 предлагает %2, %3</translation>
    </message>
    <message numerus="yes">
        <source>%1 offers %n transfers: %2, %3 in all</source>
        <translation>
            <numerusform>%1 предлагает %n передачу: %2, всего %3</numerusform>
            <numerusform>%1 предлагает %n передачи: %2, всего %3</numerusform>
            <numerusform>%1 предлагает %n передач: %2, всего %3</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 has %2.</source>
        <translation>%1 получил(а) %2.</translation>
    </message>
    <message>
        <source>Sending %1 to %2 failed: %3</source>
        <translation>Не удалось отправить %1 для %2: %3</translation>
    </message>
    <message>
        <source>%1 from %2 arrived.</source>
        <translation>%1 от %2 получено.</translation>
    </message>
    <message>
        <source>%1 from %2 did not arrive: %3</source>
        <translation>%1 от %2 не получено: %3</translation>
    </message>
    <message>
        <source>%1, %2, SHA-256 %3%4</source>
        <translation>%1, %2, SHA-256 %3%4</translation>
    </message>
    <message>
        <source>, saved as %1</source>
        <translation>, сохранён как %1</translation>
    </message>
    <message>
        <source>and %1 more files</source>
        <translation>и ещё файлов: %1</translation>
    </message>
    <message>
        <source>[file] %1</source>
        <translation>[файл] %1</translation>
    </message>
</context>
<context>
    <name>FileTransfers</name>
    <message>
        <source>The file connection ended.</source>
        <translation>Файловое соединение закрыто.</translation>
    </message>
    <message>
        <source>A name among the files cannot be sent: it has a character no file name may have.</source>
        <translation>Одно из имён файлов нельзя отправить: в нём есть недопустимый символ.</translation>
    </message>
    <message>
        <source>Waiting for %1 to answer.</source>
        <translation>Ожидание ответа от %1.</translation>
    </message>
    <message>
        <source>%1 is not in the chat, or cannot take files.</source>
        <translation>%1 нет в чате, или он не может принимать файлы.</translation>
    </message>
    <message>
        <source>Too many offers wait for an answer.</source>
        <translation>Слишком много предложений ждут ответа.</translation>
    </message>
    <message>
        <source>The other copy does not know this transfer.</source>
        <translation>Другая копия не знает этой передачи.</translation>
    </message>
    <message>
        <source>It ended.</source>
        <translation>Она завершена.</translation>
    </message>
    <message>
        <source>Declined: %1</source>
        <translation>Отклонено: %1</translation>
    </message>
    <message>
        <source>Cancelled by %1.</source>
        <translation>Отменено: %1.</translation>
    </message>
    <message>
        <source>Paused by %1.</source>
        <translation>Приостановлено: %1.</translation>
    </message>
    <message>
        <source>Connecting again…</source>
        <translation>Повторное подключение…</translation>
    </message>
    <message>
        <source>%1 left: it goes on when they are back.</source>
        <translation>%1 вышел(а): передача продолжится, когда он(а) вернётся.</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Подключение…</translation>
    </message>
    <message>
        <source>The folder %1 is not there.</source>
        <translation>Папки %1 нет.</translation>
    </message>
    <message>
        <source>No, thank you.</source>
        <translation>Нет, спасибо.</translation>
    </message>
    <message>
        <source>Declined.</source>
        <translation>Отклонено.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Отменено.</translation>
    </message>
</context>
<context>
    <name>FoundHostsPicker</name>
    <message>
        <source>%1:%2  %3 on %4</source>
        <translation>%1:%2  %3 на %4</translation>
    </message>
    <message>
        <source>, busy</source>
        <translation>, занят</translation>
    </message>
    <message>
        <source>Hosts on the network (Alt+Down)</source>
        <translation>Хосты в сети (Alt+Вниз)</translation>
    </message>
    <message>
        <source>Network discovery is not available</source>
        <translation>Поиск в сети недоступен</translation>
    </message>
    <message>
        <source>No host found on the network yet</source>
        <translation>В сети пока не найдено ни одного хоста</translation>
    </message>
</context>
<context>
    <name>FreedesktopNotifier</name>
    <message numerus="yes">
        <source>%1: %n new messages</source>
        <translation>
            <numerusform>%1: %n новое сообщение</numerusform>
            <numerusform>%1: %n новых сообщения</numerusform>
            <numerusform>%1: %n новых сообщений</numerusform>
        </translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
</context>
<context>
    <name>GuestMode</name>
    <message>
        <source>Trying to connect to %1 of port %2</source>
        <translation>Подключение к %1, порт %2</translation>
    </message>
    <message>
        <source>The name %1 is taken in this chat. Join it as %2?</source>
        <translation>Имя %1 в этом чате уже занято. Подключиться как %2?</translation>
    </message>
    <message>
        <source>Do you really want to close Conection?</source>
        <translation>Вы действительно хотите закрыть соединение?</translation>
    </message>
    <message>
        <source>You needet to accept Host</source>
        <translation>Нужно указать хост</translation>
    </message>
    <message>
        <source>%1 is Guest to %2</source>
        <translation>%1 в гостях у %2</translation>
    </message>
    <message>
        <source> : Connected to the host again.</source>
        <translation> : Снова подключён к хосту.</translation>
    </message>
    <message>
        <source> : At this moment I&apos;m Guest.</source>
        <translation> : Сейчас я гость.</translation>
    </message>
    <message>
        <source>Connected on local port %1</source>
        <translation>Подключён через локальный порт %1</translation>
    </message>
    <message>
        <source> :Door closed by Host.</source>
        <translation> : Хост закрыл дверь.</translation>
    </message>
    <message>
        <source>Connection to the host was lost: %1</source>
        <translation>Связь с хостом потеряна: %1</translation>
    </message>
    <message>
        <source>Connection closed by Server!</source>
        <translation>Сервер закрыл соединение!</translation>
    </message>
</context>
<context>
    <name>GuestSession</name>
    <message>
        <source>&lt; %1 is away &gt;</source>
        <translation>&lt; %1 ушёл &gt;</translation>
    </message>
</context>
<context>
    <name>HistoryMenu</name>
    <message>
        <source>&amp;Keep chat history</source>
        <translation>&amp;Хранить историю чатов</translation>
    </message>
    <message>
        <source>&amp;Delete chats older than</source>
        <translation>Уд&amp;алять чаты старше</translation>
    </message>
    <message>
        <source>&amp;Never</source>
        <translation>&amp;Никогда</translation>
    </message>
    <message numerus="yes">
        <source>%n days</source>
        <translation>
            <numerusform>%n дня</numerusform>
            <numerusform>%n дней</numerusform>
            <numerusform>%n дней</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 MiB</source>
        <translation>%1 МиБ</translation>
    </message>
    <message>
        <source>%1 GiB</source>
        <translation>%1 ГиБ</translation>
    </message>
    <message>
        <source>&amp;Largest history</source>
        <translation>&amp;Наибольший размер истории</translation>
    </message>
</context>
<context>
    <name>HistoryRecorder</name>
    <message>
        <source>[private with %1] &lt;%2&gt; %3</source>
        <translation>[лично с %1] &lt;%2&gt; %3</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Vanu History</source>
        <translation>История Vanu</translation>
    </message>
    <message>
        <source>Search all chats</source>
        <translation>Поиск по всем чатам</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Сохранить &amp;как...</translation>
    </message>
    <message>
        <source>&amp;Delete chat</source>
        <translation>&amp;Удалить чат</translation>
    </message>
    <message>
        <source>C&amp;lear history</source>
        <translation>&amp;Очистить историю</translation>
    </message>
    <message numerus="yes">
        <source>%1  (%n lines)</source>
        <translation>
            <numerusform>%1  (%n строка)</numerusform>
            <numerusform>%1  (%n строки)</numerusform>
            <numerusform>%1  (%n строк)</numerusform>
        </translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Сохранить файл</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Не удаётся создать файл %1</translation>
    </message>
    <message>
        <source>Delete the chat of %1 from the history?</source>
        <translation>Удалить чат от %1 из истории?</translation>
    </message>
    <message>
        <source>Delete every chat in the history?</source>
        <translation>Удалить все чаты из истории?</translation>
    </message>
    <message>
        <source>Every kept line with all the words typed here is listed below</source>
        <translation>Ниже перечислены все сохранённые строки, где есть все введённые здесь слова</translation>
    </message>
    <message>
        <source>Chats and lines found</source>
        <translation>Найденные чаты и строки</translation>
    </message>
    <message>
        <source>Chat kept in the history</source>
        <translation>Чат из истории</translation>
    </message>
</context>
<context>
    <name>HostIdentity</name>
    <message>
        <source>Cannot make a key for secure chat.</source>
        <translation>Не удаётся создать ключ для защищённого чата.</translation>
    </message>
    <message>
        <source>Cannot keep the key for secure chat in %1.</source>
        <translation>Не удаётся сохранить ключ для защищённого чата в %1.</translation>
    </message>
</context>
<context>
    <name>HostMode</name>
    <message numerus="yes">
        <source>%n Friend(s) available</source>
        <translation>
            <numerusform>В чате %n друг</numerusform>
            <numerusform>В чате %n друга</numerusform>
            <numerusform>В чате %n друзей</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Client(s) connected</source>
        <translation>
            <numerusform>Подключён %n гость</numerusform>
            <numerusform>Подключено %n гостя</numerusform>
            <numerusform>Подключено %n гостей</numerusform>
        </translation>
    </message>
    <message>
        <source>Do you really want to close Conection?</source>
        <translation>Вы действительно хотите закрыть соединение?</translation>
    </message>
    <message>
        <source> : At this moment I&apos;m Host.</source>
        <translation> : Сейчас я хост.</translation>
    </message>
    <message>
        <source>Host: %1 Listening on port: %2</source>
        <translation>Хост: %1, ожидает на порту %2</translation>
    </message>
    <message>
        <source>%1 is Host on %2</source>
        <translation>%1 — хост на %2</translation>
    </message>
</context>
<context>
    <name>HostSession</name>
    <message>
        <source>New connections are refused for now: %1</source>
        <translation>Новые подключения пока отклоняются: %1</translation>
    </message>
    <message>
        <source>Connection rejected for %1: the chat is full with %2 guests</source>
        <translation>Подключение с %1 отклонено: в чате уже %2 гостей, мест нет</translation>
    </message>
    <message>
        <source>: New guest coming from address: %1 on port %2</source>
        <translation>: Новый гость с адреса %1, порт %2</translation>
    </message>
    <message>
        <source>Connection rejected for %1</source>
        <translation>Подключение с %1 отклонено</translation>
    </message>
    <message>
        <source>Connection rejected for %1: %2</source>
        <translation>Подключение с %1 отклонено: %2</translation>
    </message>
    <message>
        <source>Line from %1 not relayed: it breaks a line</source>
        <translation>Строка от %1 не передана: в ней перевод строки</translation>
    </message>
    <message>
        <source>Line from %1 not relayed: it names nobody</source>
        <translation>Строка от %1 не передана: в ней не указан отправитель</translation>
    </message>
    <message>
        <source>Line from %1 not relayed: it names %2</source>
        <translation>Строка от %1 не передана: отправителем в ней назван %2</translation>
    </message>
    <message>
        <source>the name %1 is taken</source>
        <translation>имя %1 уже занято</translation>
    </message>
    <message>
        <source>it gave no name</source>
        <translation>имя не указано</translation>
    </message>
    <message>
        <source>its name is longer than %1 characters</source>
        <translation>имя длиннее %1 символов</translation>
    </message>
    <message>
        <source>its name holds a control character</source>
        <translation>в имени есть управляющий символ</translation>
    </message>
    <message>
        <source>Connection closed for %1: %2</source>
        <translation>Соединение с %1 закрыто: %2</translation>
    </message>
    <message>
        <source>Guest by %1 on port %2 is away.</source>
        <translation>Гость с %1, порт %2, ушёл.</translation>
    </message>
    <message>
        <source>only secure guests may join</source>
        <translation>допускаются только защищённые гости</translation>
    </message>
</context>
<context>
    <name>MainMenus</name>
    <message>
        <source>&amp;Chat</source>
        <translation>&amp;Чат</translation>
    </message>
    <message>
        <source>I&apos;m &amp;Host</source>
        <translation>Я &amp;хост</translation>
    </message>
    <message>
        <source>I&apos;m  &amp;Guest</source>
        <translation>Я &amp;гость</translation>
    </message>
    <message>
        <source>&amp;Save Chat</source>
        <translation>&amp;Сохранить чат</translation>
    </message>
    <message>
        <source>Save  &amp;As...</source>
        <translation>Сохранить &amp;как...</translation>
    </message>
    <message>
        <source>Se&amp;tup</source>
        <translation>&amp;Настройка</translation>
    </message>
    <message>
        <source>Cl&amp;ose Chat</source>
        <translation>&amp;Закрыть чат</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Скрыть &amp;окно</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Выход</translation>
    </message>
    <message>
        <source>C&amp;oupon</source>
        <translation>&amp;Купе</translation>
    </message>
    <message>
        <source>&amp;Friends</source>
        <translation>&amp;Друзья</translation>
    </message>
    <message>
        <source>&amp;Quiet</source>
        <translation>&amp;Тихо</translation>
    </message>
    <message>
        <source>&amp;Reconnect</source>
        <translation>&amp;Переподключаться</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;О программе</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Содержание</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>I&apos;m busy</source>
        <translation>Я занят</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Trying ...</source>
        <translation>Подключение ...</translation>
    </message>
</context>
<context>
    <name>ModeLook</name>
    <message>
        <source>Host</source>
        <translation>Хост</translation>
    </message>
    <message>
        <source>Host is busy</source>
        <translation>Хост занят</translation>
    </message>
    <message>
        <source>Guest</source>
        <translation>Гость</translation>
    </message>
</context>
<context>
    <name>PartFile</name>
    <message>
        <source>Not enough room in %1: %2 are needed and %3 are free.</source>
        <translation>Недостаточно места в %1: нужно %2, свободно %3.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Не удаётся записать %1: %2</translation>
    </message>
    <message>
        <source>The part received of %1 is gone: it starts again.</source>
        <translation>Полученная часть %1 пропала: передача начнётся заново.</translation>
    </message>
    <message>
        <source>%1 did not arrive as it was sent: its SHA-256 does not match.</source>
        <translation>%1 пришёл не таким, каким был отправлен: SHA-256 не совпадает.</translation>
    </message>
    <message>
        <source>Cannot give %1 its name: %2</source>
        <translation>Не удаётся дать файлу %1 его имя: %2</translation>
    </message>
</context>
<context>
    <name>PersonChooser</name>
    <message>
        <source>Private message</source>
        <translation>Личное сообщение</translation>
    </message>
    <message>
        <source>Type a name</source>
        <translation>Введите имя</translation>
    </message>
    <message>
        <source>Nobody else is in the chat.</source>
        <translation>В чате больше никого нет.</translation>
    </message>
</context>
<context>
    <name>PrivateChat</name>
    <message>
        <source>%1 chats in the clear, where private messages cannot go.</source>
        <translation>%1 общается без шифрования, туда личные сообщения не идут.</translation>
    </message>
    <message>
        <source>%1&apos;s copy of the program cannot take private messages.</source>
        <translation>Программа у %1 не принимает личные сообщения.</translation>
    </message>
    <message>
        <source>%1&apos;s copy of the program cannot take files.</source>
        <translation>Копия программы у %1 не может принимать файлы.</translation>
    </message>
</context>
<context>
    <name>PrivateMessaging</name>
    <message>
        <source>Private &amp;message...</source>
        <translation>Личное &amp;сообщение...</translation>
    </message>
    <message>
        <source>Private message</source>
        <translation>Личное сообщение</translation>
    </message>
    <message>
        <source>Send file...</source>
        <translation>Отправить файл...</translation>
    </message>
    <message>
        <source>Key...</source>
        <translation>Ключ...</translation>
    </message>
    <message>
        <source>%1 shows no key: %1 chats in the clear.</source>
        <translation>%1 не показывает ключа: %1 общается без шифрования.</translation>
    </message>
    <message>
        <source>This copy has seen this key under this name before.</source>
        <translation>Эта копия уже видела этот ключ под этим именем.</translation>
    </message>
    <message>
        <source>This copy sees this key under this name for the first time.</source>
        <translation>Эта копия видит этот ключ под этим именем впервые.</translation>
    </message>
    <message>
        <source>%1&apos;s key:

%2

%3 Compare it with the one %1&apos;s Secure chat dialog shows.</source>
        <translation>Ключ %1:

%2

%3 Сравните его с тем, что показывает диалог «Защищённый чат» у %1.</translation>
    </message>
    <message>
        <source>No key: chats in the clear</source>
        <translation>Нет ключа: общается без шифрования</translation>
    </message>
    <message>
        <source>Known key %1</source>
        <translation>Известный ключ %1</translation>
    </message>
    <message>
        <source>New key %1</source>
        <translation>Новый ключ %1</translation>
    </message>
    <message>
        <source>%1 is not in the chat: what you write waits, and goes when %1 is back.</source>
        <translation>%1 нет в чате: написанное ждёт и уйдёт, когда %1 вернётся.</translation>
    </message>
    <message>
        <source>End to end: only %1&apos;s copy, the host&apos;s, can read this. %1&apos;s key %2</source>
        <translation>Сквозное шифрование: прочесть это может только копия %1, хоста. Ключ %1: %2</translation>
    </message>
    <message>
        <source>End to end: only %1&apos;s copy can read this, over your own secure link. %1&apos;s key %2</source>
        <translation>Сквозное шифрование: прочесть это может только копия %1, по вашему собственному защищённому соединению. Ключ %1: %2</translation>
    </message>
    <message>
        <source>End to end: only %1&apos;s copy can read this; the host passes it on sealed. %1&apos;s key %2</source>
        <translation>Сквозное шифрование: прочесть это может только копия %1; хост передаёт его запечатанным. Ключ %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n unread private message(s)</source>
        <translation>
            <numerusform>%n непрочитанное личное сообщение</numerusform>
            <numerusform>%n непрочитанных личных сообщения</numerusform>
            <numerusform>%n непрочитанных личных сообщений</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Подтверждение</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Использование: %1</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[параметры]</translation>
    </message>
</context>
<context>
    <name>RuntimeErrors</name>
    <message>
        <source>List index out of bounds (%1)</source>
        <translation>Индекс списка вне допустимых границ (%1)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>«%1» — недопустимое целое число</translation>
    </message>
</context>
<context>
    <name>SecureChat</name>
    <message>
        <source>The host at %1:%2 is known by its key, but now it answers only in the clear.
Someone may be playing the host. If the host no longer offers secure chat, forget its key (Coupon, Secure chat...) and join again.</source>
        <translation>Хост %1:%2 известен по своему ключу, но теперь отвечает только без шифрования.
Возможно, кто-то выдаёт себя за этот хост. Если хост больше не предлагает защищённый чат, забудьте его ключ (Купе, Защищённый чат...) и подключитесь снова.</translation>
    </message>
    <message>
        <source>%1 of %2 secure</source>
        <translation>защищено %1 из %2</translation>
    </message>
    <message>
        <source>Secure, host verified</source>
        <translation>Защищено, хост проверен</translation>
    </message>
    <message>
        <source>Not secure</source>
        <translation>Не защищено</translation>
    </message>
    <message>
        <source>Secure guests chat over TLS 1.3. Lines sent to the other guests cross the LAN in the clear, where anyone on it can read them.</source>
        <translation>Защищённые гости общаются через TLS 1.3. Строки для остальных гостей идут по локальной сети открытым текстом, и их может прочесть любой в этой сети.</translation>
    </message>
    <message>
        <source>This chat crosses the LAN over TLS 1.3, with the host&apos;s key checked.</source>
        <translation>Этот чат идёт по локальной сети через TLS 1.3, ключ хоста проверен.</translation>
    </message>
    <message>
        <source>This chat crosses the LAN in the clear: anyone on it can read it.</source>
        <translation>Этот чат идёт по локальной сети открытым текстом: его может прочесть любой в этой сети.</translation>
    </message>
    <message>
        <source>The host at %1:%2 shows another key than the one it showed before.

Expected: %3
Shown:    %4

Someone may be playing the host. If the host has made a new key, compare the new fingerprint with the one its Secure chat dialog shows, then forget the old key (Coupon, Secure chat...) in %5 and join again.</source>
        <translation>Хост %1:%2 показывает не тот ключ, что раньше.

Ожидался: %3
Показан:  %4

Возможно, кто-то выдаёт себя за этот хост. Если хост создал новый ключ, сравните новый отпечаток с тем, что показывает его окно «Защищённый чат», затем забудьте старый ключ (Купе, Защищённый чат...) в %5 и подключитесь снова.</translation>
    </message>
    <message>
        <source>The host at %1 asks for the chat password:</source>
        <translation>Хост %1 запрашивает пароль чата:</translation>
    </message>
    <message numerus="yes">
        <source>%n refused password attempts from %1</source>
        <translation>
            <numerusform>%n отклонённая попытка ввода пароля с %1</numerusform>
            <numerusform>%n отклонённые попытки ввода пароля с %1</numerusform>
            <numerusform>%n отклонённых попыток ввода пароля с %1</numerusform>
        </translation>
    </message>
    <message>
        <source>The key kept for the host at %1:%2 is damaged in %3 (the file as it was is kept as %4).

Someone may be playing the host. Compare the host&apos;s fingerprint with the one its Secure chat dialog shows, mend or delete the line, and join again.</source>
        <translation>Ключ, сохранённый для хоста %1:%2, повреждён в %3 (файл в прежнем виде сохранён как %4).

Кто-то может выдавать себя за хост. Сравните отпечаток хоста с тем, что показывает его окно «Защищённый чат», исправьте или удалите строку и подключитесь снова.</translation>
    </message>
    <message>
        <source>This is the first secure chat with the host at %1:%2. It shows the key

%3

</source>
        <translation>Это первый защищённый чат с хостом %1:%2. Он показывает ключ

%3

</translation>
    </message>
    <message>
        <source>The host proved that it knows the chat password you gave.

</source>
        <translation>Хост доказал, что знает введённый вами пароль чата.

</translation>
    </message>
    <message>
        <source>Compare it with the fingerprint in the host&apos;s Secure chat dialog. Trust it?</source>
        <translation>Сравните его с отпечатком в диалоге «Защищённый чат» у хоста. Доверять?</translation>
    </message>
</context>
<context>
    <name>SecureChatDialog</name>
    <message>
        <source>Secure chat</source>
        <translation>Защищённый чат</translation>
    </message>
    <message>
        <source>This copy&apos;s fingerprint</source>
        <translation>Отпечаток этой копии</translation>
    </message>
    <message>
        <source>Do not offer secure chat</source>
        <translation>Не предлагать защищённый чат</translation>
    </message>
    <message>
        <source>Offer secure chat beside the plain one</source>
        <translation>Предлагать защищённый чат наряду с открытым</translation>
    </message>
    <message>
        <source>Require secure chat of every guest</source>
        <translation>Требовать защищённый чат от каждого гостя</translation>
    </message>
    <message>
        <source>&amp;Join hosts securely where they offer it</source>
        <translation>&amp;Подключаться защищённо, где хост это предлагает</translation>
    </message>
    <message>
        <source>Chat password</source>
        <translation>Пароль чата</translation>
    </message>
    <message>
        <source>&amp;Set</source>
        <translation>&amp;Задать</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Убрать</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Хост</translation>
    </message>
    <message>
        <source>Fingerprint</source>
        <translation>Отпечаток</translation>
    </message>
    <message>
        <source>Known hosts</source>
        <translation>Известные хосты</translation>
    </message>
    <message>
        <source>This copy&apos;s fingerprint:</source>
        <translation>Отпечаток этой копии:</translation>
    </message>
    <message>
        <source>When &amp;hosting:</source>
        <translation>Будучи &amp;хостом:</translation>
    </message>
    <message>
        <source>Chat &amp;password:</source>
        <translation>&amp;Пароль чата:</translation>
    </message>
    <message>
        <source>Hosts known by their keys:</source>
        <translation>Хосты, известные по ключам:</translation>
    </message>
    <message>
        <source>(no key could be made)</source>
        <translation>(создать ключ не удалось)</translation>
    </message>
    <message>
        <source>A password is set: guests are asked for it.</source>
        <translation>Пароль задан: гостей о нём спрашивают.</translation>
    </message>
    <message>
        <source>No password is set.</source>
        <translation>Пароль не задан.</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Забыть</translation>
    </message>
    <message>
        <source>Forget %1</source>
        <translation>Забыть %1</translation>
    </message>
    <message>
        <source>Hold each guest&apos;s &amp;name for its key for 30 days</source>
        <translation>Закреплять &amp;имя каждого гостя за его ключом на 30 дней</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Ключ</translation>
    </message>
    <message>
        <source>Last seen</source>
        <translation>Последний раз</translation>
    </message>
    <message>
        <source>Held names</source>
        <translation>Закреплённые имена</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>Освободить</translation>
    </message>
    <message>
        <source>Release %1</source>
        <translation>Освободить %1</translation>
    </message>
    <message>
        <source>&amp;Relay files between guests</source>
        <translation>&amp;Пересылать файлы между гостями</translation>
    </message>
    <message>
        <source> MiB</source>
        <translation> МиБ</translation>
    </message>
    <message>
        <source>any size</source>
        <translation>любой размер</translation>
    </message>
    <message>
        <source>Largest file relayed</source>
        <translation>Наибольший пересылаемый файл</translation>
    </message>
    <message>
        <source>&amp;Largest file:</source>
        <translation>&amp;Наибольший файл:</translation>
    </message>
</context>
<context>
    <name>SetupChanges</name>
    <message>
        <source>Include</source>
        <translation>Допуск</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Запрет</translation>
    </message>
    <message>
        <source>neither Include nor Exclude</source>
        <translation>ни «Допуск», ни «Запрет»</translation>
    </message>
    <message>
        <source>none</source>
        <translation>нет</translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> и ещё %n</numerusform>
            <numerusform> и ещё %n</numerusform>
            <numerusform> и ещё %n</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2 → %3</source>
        <translation>%1: %2 → %3</translation>
    </message>
    <message>
        <source>Host address</source>
        <translation>Адрес хоста</translation>
    </message>
    <message>
        <source>Nickname</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Цвет</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Фильтр</translation>
    </message>
    <message>
        <source>Filter lines</source>
        <translation>Строки фильтра</translation>
    </message>
    <message>
        <source>%1 changes your settings:

</source>
        <translation>%1 меняет ваши настройки:

</translation>
    </message>
    <message>
        <source>

With these settings, anyone on the network can join the chat you host.</source>
        <translation>

С такими настройками к чату, где вы хост, сможет подключиться любой в сети.</translation>
    </message>
    <message>
        <source>

Nothing is kept until you press OK.</source>
        <translation>

Ничего не сохранится, пока вы не нажмёте «ОК».</translation>
    </message>
</context>
<context>
    <name>SocketErrors</name>
    <message>
        <source>The host&apos;s key was not trusted: the chat was not joined.</source>
        <translation>Ключу хоста не доверились: подключения к чату не было.</translation>
    </message>
    <message>
        <source>The host asks for a chat password, and none was given.</source>
        <translation>Хост требует пароль чата, а он не был введён.</translation>
    </message>
    <message>
        <source>The host refused the chat password.</source>
        <translation>Хост не принял пароль чата.</translation>
    </message>
    <message>
        <source>Interrupted system call</source>
        <translation>Системный вызов прерван</translation>
    </message>
    <message>
        <source>Bad file number</source>
        <translation>Неверный номер файла</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Доступ запрещён</translation>
    </message>
    <message>
        <source>Bad address</source>
        <translation>Неверный адрес</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>Недопустимый аргумент</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Слишком много открытых файлов</translation>
    </message>
    <message>
        <source>Operation would block</source>
        <translation>Операция привела бы к блокировке</translation>
    </message>
    <message>
        <source>Operation now in progress</source>
        <translation>Операция выполняется</translation>
    </message>
    <message>
        <source>Operation already in progress</source>
        <translation>Операция уже выполняется</translation>
    </message>
    <message>
        <source>Socket operation on nonsocket</source>
        <translation>Операция с сокетом над объектом, который не сокет</translation>
    </message>
    <message>
        <source>Destination address required</source>
        <translation>Требуется адрес назначения</translation>
    </message>
    <message>
        <source>Message too long</source>
        <translation>Слишком длинное сообщение</translation>
    </message>
    <message>
        <source>Protocol wrong type for socket</source>
        <translation>Неверный тип протокола для сокета</translation>
    </message>
    <message>
        <source>Protocol not available</source>
        <translation>Протокол недоступен</translation>
    </message>
    <message>
        <source>Protocol not supported</source>
        <translation>Протокол не поддерживается</translation>
    </message>
    <message>
        <source>Socket not supported</source>
        <translation>Тип сокета не поддерживается</translation>
    </message>
    <message>
        <source>Operation not supported on socket</source>
        <translation>Операция не поддерживается для сокета</translation>
    </message>
    <message>
        <source>Protocol family not supported</source>
        <translation>Семейство протоколов не поддерживается</translation>
    </message>
    <message>
        <source>Address family not supported</source>
        <translation>Семейство адресов не поддерживается</translation>
    </message>
    <message>
        <source>Address already in use</source>
        <translation>Адрес уже используется</translation>
    </message>
    <message>
        <source>Can&apos;t assign requested address</source>
        <translation>Не удаётся назначить запрошенный адрес</translation>
    </message>
    <message>
        <source>Network is down</source>
        <translation>Сеть не работает</translation>
    </message>
    <message>
        <source>Network is unreachable</source>
        <translation>Сеть недоступна</translation>
    </message>
    <message>
        <source>Network dropped connection on reset</source>
        <translation>Сеть разорвала соединение при сбросе</translation>
    </message>
    <message>
        <source>Software caused connection abort</source>
        <translation>Соединение прервано программой</translation>
    </message>
    <message>
        <source>Connection reset by peer</source>
        <translation>Соединение сброшено другой стороной</translation>
    </message>
    <message>
        <source>No buffer space available</source>
        <translation>Недостаточно места в буфере</translation>
    </message>
    <message>
        <source>Socket is already connected</source>
        <translation>Сокет уже подключён</translation>
    </message>
    <message>
        <source>Socket is not connected</source>
        <translation>Сокет не подключён</translation>
    </message>
    <message>
        <source>Can&apos;t send after socket shutdown</source>
        <translation>Нельзя отправлять после закрытия сокета</translation>
    </message>
    <message>
        <source>Too many references:can&apos;t splice</source>
        <translation>Слишком много ссылок: соединение невозможно</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Время ожидания соединения истекло</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>В соединении отказано</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Слишком много уровней символических ссылок</translation>
    </message>
    <message>
        <source>File name is too long</source>
        <translation>Слишком длинное имя файла</translation>
    </message>
    <message>
        <source>Host is down</source>
        <translation>Хост не работает</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>Нет маршрута до хоста</translation>
    </message>
    <message>
        <source>Directory is not empty</source>
        <translation>Каталог не пуст</translation>
    </message>
    <message>
        <source>Too many processes</source>
        <translation>Слишком много процессов</translation>
    </message>
    <message>
        <source>Too many users</source>
        <translation>Слишком много пользователей</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Превышена дисковая квота</translation>
    </message>
    <message>
        <source>Stale NFS file handle</source>
        <translation>Устаревший дескриптор файла NFS</translation>
    </message>
    <message>
        <source>Too many levels of remote in path</source>
        <translation>Слишком много удалённых уровней в пути</translation>
    </message>
    <message>
        <source>Network subsystem is unusable</source>
        <translation>Сетевая подсистема непригодна к работе</translation>
    </message>
    <message>
        <source>Winsock DLL cannot support this application</source>
        <translation>Библиотека Winsock не поддерживает это приложение</translation>
    </message>
    <message>
        <source>Winsock not initialized</source>
        <translation>Winsock не инициализирован</translation>
    </message>
    <message>
        <source>Host not found</source>
        <translation>Хост не найден</translation>
    </message>
    <message>
        <source>Non authoritative - host not found</source>
        <translation>Неавторитетный ответ: хост не найден</translation>
    </message>
    <message>
        <source>Non recoverable error</source>
        <translation>Неисправимая ошибка</translation>
    </message>
    <message>
        <source>Valid name, no data record of requested type</source>
        <translation>Имя допустимо, но записи нужного типа нет</translation>
    </message>
    <message>
        <source>Not a Winsock error</source>
        <translation>Не ошибка Winsock</translation>
    </message>
    <message>
        <source>The host waited five minutes for the key to be trusted and the password given, and gave up. Join again.</source>
        <translation>Хост пять минут ждал, пока ключу доверятся и введут пароль, и прекратил ожидание. Подключитесь снова.</translation>
    </message>
    <message>
        <source>The host could not prove that it knows the chat password: it may not be the host it claims to be.</source>
        <translation>Хост не смог доказать, что знает пароль чата: возможно, это не тот хост, за которого он себя выдаёт.</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Vanu Server&amp;Client</source>
        <translation>Vanu: сервер и клиент</translation>
    </message>
    <message>
        <source>Version: 3.1</source>
        <translation>Версия: 3.1</translation>
    </message>
    <message>
        <source>This is a multi-user chat. To use it best, run it on more than one PC with at least one copy in server mode. Then connect all of the other copies to that server&apos;s address. You will then be able to chat to each other much like IRC.</source>
        <translation>Многопользовательский чат. Запустите его на нескольких компьютерах, одну копию — сервером, и подключите остальные к его адресу. Тогда вы сможете общаться почти как в IRC.</translation>
    </message>
    <message>
        <source>Mail me at:</source>
        <translation>Пишите мне:</translation>
    </message>
    <message>
        <source>or</source>
        <translation>или</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Веб-страница</translation>
    </message>
    <message>
        <source>Mail to %1</source>
        <translation>Написать на %1</translation>
    </message>
</context>
<context>
    <name>TCustomWSocket</name>
    <message>
        <source>Berkeley sockets on %1</source>
        <translation>Сокеты Беркли в %1</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Работает</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source> Vanu Server&amp;Client  by the Vanu developers, 2026</source>
        <translation> Vanu: сервер и клиент  от разработчиков Vanu, 2026</translation>
    </message>
    <message>
        <source> WinSocket Version: </source>
        <translation> Версия WinSocket: </translation>
    </message>
    <message>
        <source> Description: </source>
        <translation> Описание: </translation>
    </message>
    <message>
        <source> SystemStatus: </source>
        <translation> Состояние системы: </translation>
    </message>
    <message>
        <source> Local Host Name: </source>
        <translation> Имя этого компьютера: </translation>
    </message>
    <message>
        <source> Local Host Address: </source>
        <translation> Адрес этого компьютера: </translation>
    </message>
    <message>
        <source>Do you want to stop tray?</source>
        <translation>Прервать попытку подключения?</translation>
    </message>
    <message>
        <source>Close the Chat?</source>
        <translation>Закрыть чат?</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>Друзья</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
</context>
<context>
    <name>TForm8</name>
    <message>
        <source>You really must enter<byte value="xd"/>Nickname and Host address</source>
        <translation>Обязательно укажите<byte value="xd"/>имя и адрес хоста</translation>
    </message>
    <message>
        <source>Setup Configuration</source>
        <translation>Настройка</translation>
    </message>
    <message>
        <source>Host Address</source>
        <translation>Адрес хоста</translation>
    </message>
    <message>
        <source>Port def.</source>
        <translation>Станд.</translation>
    </message>
    <message>
        <source>Your Name</source>
        <translation>Ваше имя</translation>
    </message>
    <message>
        <source>Your Colour</source>
        <translation>Цвет</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>    Personally    </source>
        <translation>    Личное    </translation>
    </message>
    <message>
        <source>Permission to Server (FireWall)</source>
        <translation>Доступ к серверу (фильтр)</translation>
    </message>
    <message>
        <source>filter</source>
        <translation>фильтр</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Допуск</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Запрет</translation>
    </message>
    <message>
        <source>    SetServer    </source>
        <translation>    Сервер    </translation>
    </message>
    <message>
        <source>%1 also covers %2</source>
        <translation>%1 охватывает и %2</translation>
    </message>
    <message numerus="yes">
        <source>%1 (+%n more)</source>
        <translation>
            <numerusform>%1 (+ещё %n)</numerusform>
            <numerusform>%1 (+ещё %n)</numerusform>
            <numerusform>%1 (+ещё %n)</numerusform>
        </translation>
    </message>
    <message>
        <source>A filter line stands for every address that begins with it.</source>
        <translation>Строка фильтра означает любой адрес, который с неё начинается.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Не удаётся открыть файл %1</translation>
    </message>
    <message>
        <source>File %1 is too large for a setup file</source>
        <translation>Файл %1 слишком велик для файла настроек</translation>
    </message>
    <message>
        <source>These characters cannot be written to a setup file and become &quot;?&quot;: %1<byte value="xd"/>Save all the same?</source>
        <translation>Эти символы нельзя записать в файл настроек, они станут «?»: %1<byte value="xd"/>Всё равно сохранить?</translation>
    </message>
    <message>
        <source>This collor is not valid</source>
        <translation>Недопустимый цвет</translation>
    </message>
    <message>
        <source>I cannot save settings!</source>
        <translation>Не удаётся сохранить настройки!</translation>
    </message>
    <message>
        <source>Text files (*.set)|*.set</source>
        <translation>Файлы настроек (*.set)|*.set</translation>
    </message>
    <message>
        <source>Save Setup</source>
        <translation>Сохранить настройки</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Не удаётся создать файл %1</translation>
    </message>
    <message>
        <source>Open Setup</source>
        <translation>Открыть настройки</translation>
    </message>
    <message>
        <source>Host address</source>
        <translation>Адрес хоста</translation>
    </message>
    <message>
        <source>The address of the host to join as a guest</source>
        <translation>Адрес хоста, к которому вы подключаетесь гостем</translation>
    </message>
    <message>
        <source>Default port</source>
        <translation>Стандартный порт</translation>
    </message>
    <message>
        <source>When unchecked, the port field below can be changed</source>
        <translation>Если снять отметку, порт ниже можно изменить</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Ваше имя</translation>
    </message>
    <message>
        <source>Your colour</source>
        <translation>Ваш цвет</translation>
    </message>
    <message>
        <source>Load a setup file</source>
        <translation>Открыть файл настроек</translation>
    </message>
    <message>
        <source>Save a setup file</source>
        <translation>Сохранить файл настроек</translation>
    </message>
    <message>
        <source>Filter lines</source>
        <translation>Строки фильтра</translation>
    </message>
    <message>
        <source>One address, or the beginning of addresses, a line; Tab leaves the box</source>
        <translation>По одному адресу или началу адресов в строке; Tab выходит из поля</translation>
    </message>
    <message>
        <source>Filter note</source>
        <translation>Примечание к фильтру</translation>
    </message>
    <message>
        <source>Filter mode</source>
        <translation>Режим фильтра</translation>
    </message>
</context>
<context>
    <name>THelpBox</name>
    <message>
        <source>Thank you for your choice.

Vanu

In order you and your friends could find each other, 
one Server copy must be started on a PC with a fixed 
IP.  This is a program designed to assure clean, 
secure chat. It&apos;s secure because it uses only text. No 
one could penetrate to your PC unless you&apos;ve filtered 
him, i.e. admitted him by his IP address. To specify 
people you admit, you have to enter their IP in 
Chat\Setup list by choosing &quot;Include&quot; or &quot;Exclude&quot;, if 
people are not desired. In Setup you may choose also 
your Nick and text colour. You may save your setup 
configuration if you want. Note that filters may be 
used as &quot;wild card&quot;, i.e. to include or exclude whole 
networks. Everytime the program loads setup from a 
text file named &quot;LastSetup.set&quot;.  When you need to 
have quietude from incoming gests to the server you 
have to select  &quot;I&apos;m Busy&quot;  from HostTrayIcon. You 
can save the Chat text in &quot;DirChat(n).txt&quot; only by 
clicking on Chat\Save command or to &quot;Save as...&quot; 
it with a name you want. If you want you can make 
Setup files, save and mail it to your friends who have 
Vanu program. The use of Host names will require 
that your IP setup is configured with DNS active.
To avoide this use only  IP addresses,  i.e. 127.0.0.1 
instead of LocalHost.    I wish you good coupon !</source>
        <translation>Спасибо, что выбрали Vanu.

Vanu

Чтобы вы с друзьями могли найти друг друга,
одна копия программы должна работать
сервером на компьютере с постоянным IP-
адресом. Vanu задуман для чистого и
безопасного общения: он передаёт только
текст. Никто не попадёт на ваш компьютер,
если вы сами не допустили его по IP-адресу.
Чтобы указать, кого допускать, впишите
адреса в список в меню Чат\Настройка и
выберите «Допуск» или, для нежеланных
гостей, «Запрет». Там же выбираются ваше
имя и цвет текста, а настройки можно
сохранить в файл. Фильтр может охватывать
целые сети: он означает любой адрес,
который с него начинается. При каждом
запуске программа читает настройки из файла
«LastSetup.set». Если серверу нужен покой
от новых гостей, выберите «Я занят» в меню
значка в трее. Чат сохраняется командой
Чат\Сохранить чат в «DirChat(n).txt» или
через «Сохранить как...» под любым именем.
Можно также создать файлы настроек и
разослать их друзьям, у которых есть Vanu.
Имена компьютеров вместо адресов работают
только при настроенном DNS. Иначе
указывайте IP-адреса, например 127.0.0.1
вместо localhost. Приятного общения в купе!</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
</context>
<context>
    <name>TfFriends</name>
    <message>
        <source>Friends</source>
        <translation>Друзья</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Participants</source>
        <translation>Участники</translation>
    </message>
    <message>
        <source>Everybody in the chat</source>
        <translation>Все, кто в чате</translation>
    </message>
</context>
<context>
    <name>Transcript</name>
    <message>
        <source>Text files (*.txt)|*.txt|All files (*.*)|*.*</source>
        <translation>Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*</translation>
    </message>
    <message>
        <source>Text, UTF-8 (*.txt)|*.txt</source>
        <translation>Текст, UTF-8 (*.txt)|*.txt</translation>
    </message>
</context>
<context>
    <name>TranscriptSaving</name>
    <message>
        <source>Save File</source>
        <translation>Сохранить файл</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Не удаётся создать файл %1</translation>
    </message>
</context>
<context>
    <name>Transfer</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не удаётся прочитать %1: %2</translation>
    </message>
    <message>
        <source>The other copy sent what no copy sends.</source>
        <translation>Другая копия прислала то, чего не шлёт ни одна копия.</translation>
    </message>
    <message>
        <source>Declined: %1</source>
        <translation>Отклонено: %1</translation>
    </message>
    <message>
        <source>A block of %1 failed its check three times.</source>
        <translation>Блок файла %1 трижды не прошёл проверку.</translation>
    </message>
    <message>
        <source>%1 changed since it was offered: the transfer ends.</source>
        <translation>%1 изменился после предложения: передача прекращена.</translation>
    </message>
    <message>
        <source>Cannot make the folder for %1.</source>
        <translation>Не удаётся создать папку для %1.</translation>
    </message>
    <message>
        <source>More than %1 files: send fewer at a time.</source>
        <translation>Больше %1 файлов: отправляйте меньше за раз.</translation>
    </message>
    <message>
        <source>There is no file to send.</source>
        <translation>Нет файлов для отправки.</translation>
    </message>
    <message>
        <source>The files sent are not the ones offered.</source>
        <translation>Отправленные файлы не совпадают с предложенными.</translation>
    </message>
    <message>
        <source>Cannot write %1: the disk is full.</source>
        <translation>Не удаётся записать %1: диск заполнен.</translation>
    </message>
</context>
<context>
    <name>TransferCard</name>
    <message>
        <source>1 file</source>
        <translation>1 файл</translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n файл</numerusform>
            <numerusform>%n файла</numerusform>
            <numerusform>%n файлов</numerusform>
        </translation>
    </message>
    <message>
        <source>Waiting for %1 to answer.</source>
        <translation>Ожидание ответа от %1.</translation>
    </message>
    <message>
        <source>Waiting for your answer.</source>
        <translation>Ожидает вашего ответа.</translation>
    </message>
    <message>
        <source>Paused.</source>
        <translation>Приостановлено.</translation>
    </message>
    <message>
        <source>Sent: %1 has it, checked.</source>
        <translation>Отправлено: %1 получил(а), проверено.</translation>
    </message>
    <message>
        <source>Arrived, checked: %1</source>
        <translation>Получено, проверено: %1</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Не удалось: %1</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 из %2</translation>
    </message>
    <message>
        <source>%1/s</source>
        <translation>%1/с</translation>
    </message>
    <message numerus="yes">
        <source>%n s left</source>
        <translation>
            <numerusform>осталось %n с</numerusform>
            <numerusform>осталось %n с</numerusform>
            <numerusform>осталось %n с</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n min left</source>
        <translation>
            <numerusform>осталось %n мин</numerusform>
            <numerusform>осталось %n мин</numerusform>
            <numerusform>осталось %n мин</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n h left</source>
        <translation>
            <numerusform>осталось %n ч</numerusform>
            <numerusform>осталось %n ч</numerusform>
            <numerusform>осталось %n ч</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Accept</source>
        <translation>&amp;Принять</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>&amp;Сохранить как...</translation>
    </message>
    <message>
        <source>&amp;Decline</source>
        <translation>&amp;Отклонить</translation>
    </message>
    <message>
        <source>Al&amp;ways accept from this person</source>
        <translation>&amp;Всегда принимать от этого человека</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>При&amp;остановить</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>О&amp;тменить</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Откр&amp;ыть</translation>
    </message>
    <message>
        <source>Show in fo&amp;lder</source>
        <translation>Показать в п&amp;апке</translation>
    </message>
    <message>
        <source>To %1: %2: %3</source>
        <translation>Для %1: %2: %3</translation>
    </message>
    <message>
        <source>%1 (key known) offers %2: %3</source>
        <translation>%1 (ключ известен) предлагает %2: %3</translation>
    </message>
    <message>
        <source>%1 (key new to you) offers %2: %3</source>
        <translation>%1 (ключ вам новый) предлагает %2: %3</translation>
    </message>
    <message>
        <source>Progress of %1</source>
        <translation>Ход передачи: %1</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Продолжить</translation>
    </message>
</context>
<context>
    <name>TransfersWindow</name>
    <message>
        <source>Transfers</source>
        <translation>Передачи</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Файлы</translation>
    </message>
    <message>
        <source>With</source>
        <translation>С кем</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Размер</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Ход</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Скорость</translation>
    </message>
    <message>
        <source>Time left</source>
        <translation>Осталось</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>При&amp;остановить</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>О&amp;тменить</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Откр&amp;ыть</translation>
    </message>
    <message>
        <source>Show in fo&amp;lder</source>
        <translation>Показать в п&amp;апке</translation>
    </message>
    <message>
        <source>Progress of %1</source>
        <translation>Ход передачи: %1</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Продолжить</translation>
    </message>
</context>
<context>
    <name>VanuProgram</name>
    <message>
        <source>History paused</source>
        <translation>История приостановлена</translation>
    </message>
    <message>
        <source>The chat history is paused: %1
The chat goes on.</source>
        <translation>Запись истории приостановлена: %1
Чат продолжается.</translation>
    </message>
    <message>
        <source>The chat history was damaged. It is kept as %1, and a new history has begun.</source>
        <translation>История чатов была повреждена. Она сохранена как %1, начата новая история.</translation>
    </message>
    <message>
        <source>H&amp;istory...</source>
        <translation>&amp;История...</translation>
    </message>
    <message>
        <source>&amp;Secure chat...</source>
        <translation>&amp;Защищённый чат...</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Не удаётся открыть файл %1</translation>
    </message>
    <message>
        <source>The chat history has reached its largest size: its oldest chats were deleted to make room.
Coupon, Largest history sets the size.</source>
        <translation>История чатов достигла наибольшего размера: самые старые чаты удалены, чтобы освободить место.
Размер задаётся в меню «Купон», «Наибольший размер истории».</translation>
    </message>
    <message>
        <source>Files relayed</source>
        <translation>Пересланные файлы</translation>
    </message>
    <message numerus="yes">
        <source>Relaying %n file transfer(s), %1 in all</source>
        <translation>
            <numerusform>Пересылается %n передача файлов, всего %1</numerusform>
            <numerusform>Пересылается %n передачи файлов, всего %1</numerusform>
            <numerusform>Пересылается %n передач файлов, всего %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Files go only in secure chat, which is off here.</source>
        <translation>Файлы передаются только в защищённом чате, а он здесь выключен.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Vanu is a desktop program: start it in a desktop session (no display was found).
</source>
        <translation>Vanu — программа для рабочего стола: запустите её в сеансе рабочего стола (дисплей не найден).
</translation>
    </message>
</context>
</TS>
