<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk" sourcelanguage="en">
<context>
    <name>ChatFindBar</name>
    <message>
        <source>Find:</source>
        <translation>Знайти:</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 з %2</translation>
    </message>
    <message>
        <source>Find in the chat</source>
        <translation>Пошук у чаті</translation>
    </message>
    <message>
        <source>Enter and Shift+Enter step through the matches; Escape closes</source>
        <translation>Enter і Shift+Enter переходять між збігами; Escape закриває</translation>
    </message>
    <message>
        <source>Matches</source>
        <translation>Збіги</translation>
    </message>
</context>
<context>
    <name>ChatNotifications</name>
    <message>
        <source>&amp;Notify</source>
        <translation>&amp;Сповіщати</translation>
    </message>
    <message>
        <source>New guest coming from address: %1</source>
        <translation>Новий гість з адреси %1</translation>
    </message>
    <message numerus="yes">
        <source>While you were busy: %n new messages. The last: %1</source>
        <translation>
            <numerusform>Поки ви були зайняті: %n нове повідомлення. Останнє: %1</numerusform>
            <numerusform>Поки ви були зайняті: %n нові повідомлення. Останнє: %1</numerusform>
            <numerusform>Поки ви були зайняті: %n нових повідомлень. Останнє: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Private message from %1: %2</source>
        <translation>Особисте повідомлення від %1: %2</translation>
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
        <translation>Рядки чату, нові внизу</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Повідомлення</translation>
    </message>
    <message>
        <source>Your line; Enter sends it to everybody in the chat</source>
        <translation>Ваш рядок; Enter надсилає його всім у чаті</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Vanu: text chat between several people on one local network.</source>
        <translation>Vanu: текстовий чат для кількох людей в одній локальній мережі.</translation>
    </message>
    <message>
        <source>A setup file (.set) to load and confirm.</source>
        <translation>Файл налаштувань (.set), який треба завантажити й підтвердити.</translation>
    </message>
    <message>
        <source>Print the last 50 lines of the chat history, or with words after it every kept line that has them all.</source>
        <translation>Вивести останні 50 рядків історії чатів або, якщо після ключа вказано слова, усі збережені рядки, де є кожне з них.</translation>
    </message>
    <message>
        <source>Only one setup file can be given.</source>
        <translation>Можна вказати лише один файл налаштувань.</translation>
    </message>
    <message>
        <source>Send the files and folders named after it: the running copy asks to whom.</source>
        <translation>Надіслати файли й теки, названі після нього: запущена копія спитає, кому.</translation>
    </message>
    <message>
        <source>Name the files to send after --send.</source>
        <translation>Вкажіть файли для надсилання після --send.</translation>
    </message>
</context>
<context>
    <name>ConversationWindow</name>
    <message>
        <source>Private message to %1</source>
        <translation>Особисте повідомлення для %1</translation>
    </message>
    <message>
        <source>%1 (%2 new)</source>
        <translation>%1 (нових: %2)</translation>
    </message>
    <message>
        <source>%1&apos;s key has changed since you last chatted. It was %2 and is now %3. If %1 did not make a new key, someone else may be using the name: ask %1 in person.</source>
        <translation>Ключ %1 змінився від вашої минулої розмови. Був %2, тепер %3. Якщо %1 не створював(ла) новий ключ, цим іменем може користуватися хтось інший: запитайте %1 особисто.</translation>
    </message>
    <message>
        <source>  (waiting)</source>
        <translation>  (очікує)</translation>
    </message>
    <message>
        <source>  (delivered)</source>
        <translation>  (доставлено)</translation>
    </message>
    <message>
        <source>Send &amp;file...</source>
        <translation>Надіслати &amp;файл...</translation>
    </message>
    <message>
        <source>Send files to %1 (Ctrl+Shift+F), or drop them on this window</source>
        <translation>Надіслати файли %1 (Ctrl+Shift+F) або перетягнути їх на це вікно</translation>
    </message>
</context>
<context>
    <name>FileChoice</name>
    <message>
        <source>%1 is a link to %2, which does not exist. Choose another name.</source>
        <translation>%1 — посилання на %2, а такого файлу немає. Оберіть іншу назву.</translation>
    </message>
    <message>
        <source>OK to overwrite %1</source>
        <translation>Перезаписати %1?</translation>
    </message>
</context>
<context>
    <name>FileLink</name>
    <message>
        <source>The file connection ended.</source>
        <translation>З’єднання для файлів закрито.</translation>
    </message>
    <message>
        <source>The other copy is not the one its key was announced for.</source>
        <translation>Інша копія — не та, чий ключ було оголошено.</translation>
    </message>
</context>
<context>
    <name>FileRelay</name>
    <message>
        <source>The host does not relay files.</source>
        <translation>Хост не пересилає файли.</translation>
    </message>
    <message>
        <source>The host relays no file larger than %1 MiB.</source>
        <translation>Хост не пересилає файли, більші за %1 МіБ.</translation>
    </message>
</context>
<context>
    <name>FileSharing</name>
    <message>
        <source>Send files</source>
        <translation>Надіслати файли</translation>
    </message>
    <message>
        <source>Send &amp;file...</source>
        <translation>Надіслати &amp;файл...</translation>
    </message>
    <message>
        <source>Trans&amp;fers</source>
        <translation>Пере&amp;дачі</translation>
    </message>
    <message>
        <source>Send files to %1</source>
        <translation>Надіслати файли: %1</translation>
    </message>
    <message>
        <source>All files (*)|*</source>
        <translation>Усі файли (*)|*</translation>
    </message>
    <message>
        <source>%1 is not in the chat, or cannot take files.</source>
        <translation>%1 немає в чаті, або він не може приймати файли.</translation>
    </message>
    <message>
        <source>Save the files from %1 in</source>
        <translation>Зберегти файли від %1 у</translation>
    </message>
    <message>
        <source>%1 offers %2, %3</source>
        <translation>%1 пропонує %2, %3</translation>
    </message>
    <message numerus="yes">
        <source>%1 offers %n transfers: %2, %3 in all</source>
        <translation>
            <numerusform>%1 пропонує %n передачу: %2, усього %3</numerusform>
            <numerusform>%1 пропонує %n передачі: %2, усього %3</numerusform>
            <numerusform>%1 пропонує %n передач: %2, усього %3</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 has %2.</source>
        <translation>%1 отримав(ла) %2.</translation>
    </message>
    <message>
        <source>Sending %1 to %2 failed: %3</source>
        <translation>Не вдалося надіслати %1 для %2: %3</translation>
    </message>
    <message>
        <source>%1 from %2 arrived.</source>
        <translation>%1 від %2 отримано.</translation>
    </message>
    <message>
        <source>%1 from %2 did not arrive: %3</source>
        <translation>%1 від %2 не отримано: %3</translation>
    </message>
    <message>
        <source>%1, %2, SHA-256 %3%4</source>
        <translation>%1, %2, SHA-256 %3%4</translation>
    </message>
    <message>
        <source>, saved as %1</source>
        <translation>, збережено як %1</translation>
    </message>
    <message>
        <source>and %1 more files</source>
        <translation>і ще файлів: %1</translation>
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
        <translation>Файлове з’єднання закрито.</translation>
    </message>
    <message>
        <source>A name among the files cannot be sent: it has a character no file name may have.</source>
        <translation>Одне з імен файлів не можна надіслати: у ньому є неприпустимий символ.</translation>
    </message>
    <message>
        <source>Waiting for %1 to answer.</source>
        <translation>Очікування відповіді від %1.</translation>
    </message>
    <message>
        <source>%1 is not in the chat, or cannot take files.</source>
        <translation>%1 немає в чаті, або він не може приймати файли.</translation>
    </message>
    <message>
        <source>Too many offers wait for an answer.</source>
        <translation>Забагато пропозицій чекають на відповідь.</translation>
    </message>
    <message>
        <source>The other copy does not know this transfer.</source>
        <translation>Інша копія не знає цієї передачі.</translation>
    </message>
    <message>
        <source>It ended.</source>
        <translation>Її завершено.</translation>
    </message>
    <message>
        <source>Declined: %1</source>
        <translation>Відхилено: %1</translation>
    </message>
    <message>
        <source>Cancelled by %1.</source>
        <translation>Скасовано: %1.</translation>
    </message>
    <message>
        <source>Paused by %1.</source>
        <translation>Призупинено: %1.</translation>
    </message>
    <message>
        <source>Connecting again…</source>
        <translation>Повторне підключення…</translation>
    </message>
    <message>
        <source>%1 left: it goes on when they are back.</source>
        <translation>%1 вийшов(ла): передача продовжиться, коли він(вона) повернеться.</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Підключення…</translation>
    </message>
    <message>
        <source>The folder %1 is not there.</source>
        <translation>Теки %1 немає.</translation>
    </message>
    <message>
        <source>No, thank you.</source>
        <translation>Ні, дякую.</translation>
    </message>
    <message>
        <source>Declined.</source>
        <translation>Відхилено.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Скасовано.</translation>
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
        <translation>, зайнятий</translation>
    </message>
    <message>
        <source>Hosts on the network (Alt+Down)</source>
        <translation>Хости в мережі (Alt+Вниз)</translation>
    </message>
    <message>
        <source>Network discovery is not available</source>
        <translation>Пошук у мережі недоступний</translation>
    </message>
    <message>
        <source>No host found on the network yet</source>
        <translation>У мережі поки не знайдено жодного хоста</translation>
    </message>
</context>
<context>
    <name>FreedesktopNotifier</name>
    <message numerus="yes">
        <source>%1: %n new messages</source>
        <translation>
            <numerusform>%1: %n нове повідомлення</numerusform>
            <numerusform>%1: %n нові повідомлення</numerusform>
            <numerusform>%1: %n нових повідомлень</numerusform>
        </translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Відкрити</translation>
    </message>
</context>
<context>
    <name>GuestMode</name>
    <message>
        <source>Trying to connect to %1 of port %2</source>
        <translation>Під’єднання до %1, порт %2</translation>
    </message>
    <message>
        <source>The name %1 is taken in this chat. Join it as %2?</source>
        <translation>Ім’я %1 у цьому чаті вже зайняте. Під’єднатися як %2?</translation>
    </message>
    <message>
        <source>Do you really want to close Conection?</source>
        <translation>Ви справді хочете закрити з’єднання?</translation>
    </message>
    <message>
        <source>You needet to accept Host</source>
        <translation>Потрібно вказати хост</translation>
    </message>
    <message>
        <source>%1 is Guest to %2</source>
        <translation>%1 у гостях у %2</translation>
    </message>
    <message>
        <source> : Connected to the host again.</source>
        <translation> : Знову під’єднано до хоста.</translation>
    </message>
    <message>
        <source> : At this moment I&apos;m Guest.</source>
        <translation> : Зараз я гість.</translation>
    </message>
    <message>
        <source>Connected on local port %1</source>
        <translation>Під’єднано через локальний порт %1</translation>
    </message>
    <message>
        <source> :Door closed by Host.</source>
        <translation> : Хост зачинив двері.</translation>
    </message>
    <message>
        <source>Connection to the host was lost: %1</source>
        <translation>Зв’язок із хостом втрачено: %1</translation>
    </message>
    <message>
        <source>Connection closed by Server!</source>
        <translation>Сервер закрив з’єднання!</translation>
    </message>
</context>
<context>
    <name>GuestSession</name>
    <message>
        <source>&lt; %1 is away &gt;</source>
        <translation>&lt; %1 пішов &gt;</translation>
    </message>
</context>
<context>
    <name>HistoryMenu</name>
    <message>
        <source>&amp;Keep chat history</source>
        <translation>&amp;Зберігати історію чатів</translation>
    </message>
    <message>
        <source>&amp;Delete chats older than</source>
        <translation>В&amp;идаляти чати, старші за</translation>
    </message>
    <message>
        <source>&amp;Never</source>
        <translation>&amp;Ніколи</translation>
    </message>
    <message numerus="yes">
        <source>%n days</source>
        <translation>
            <numerusform>%n день</numerusform>
            <numerusform>%n дні</numerusform>
            <numerusform>%n днів</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 MiB</source>
        <translation>%1 МіБ</translation>
    </message>
    <message>
        <source>%1 GiB</source>
        <translation>%1 ГіБ</translation>
    </message>
    <message>
        <source>&amp;Largest history</source>
        <translation>&amp;Найбільший розмір історії</translation>
    </message>
</context>
<context>
    <name>HistoryRecorder</name>
    <message>
        <source>[private with %1] &lt;%2&gt; %3</source>
        <translation>[особисто з %1] &lt;%2&gt; %3</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Vanu History</source>
        <translation>Історія Vanu</translation>
    </message>
    <message>
        <source>Search all chats</source>
        <translation>Пошук у всіх чатах</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Зберегти &amp;як...</translation>
    </message>
    <message>
        <source>&amp;Delete chat</source>
        <translation>&amp;Видалити чат</translation>
    </message>
    <message>
        <source>C&amp;lear history</source>
        <translation>&amp;Очистити історію</translation>
    </message>
    <message numerus="yes">
        <source>%1  (%n lines)</source>
        <translation>
            <numerusform>%1  (%n рядок)</numerusform>
            <numerusform>%1  (%n рядки)</numerusform>
            <numerusform>%1  (%n рядків)</numerusform>
        </translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Зберегти файл</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Не вдається створити файл %1</translation>
    </message>
    <message>
        <source>Delete the chat of %1 from the history?</source>
        <translation>Видалити чат від %1 з історії?</translation>
    </message>
    <message>
        <source>Delete every chat in the history?</source>
        <translation>Видалити всі чати з історії?</translation>
    </message>
    <message>
        <source>Every kept line with all the words typed here is listed below</source>
        <translation>Нижче перелічено всі збережені рядки, де є всі введені тут слова</translation>
    </message>
    <message>
        <source>Chats and lines found</source>
        <translation>Знайдені чати й рядки</translation>
    </message>
    <message>
        <source>Chat kept in the history</source>
        <translation>Чат з історії</translation>
    </message>
</context>
<context>
    <name>HostIdentity</name>
    <message>
        <source>Cannot make a key for secure chat.</source>
        <translation>Не вдається створити ключ для захищеного чату.</translation>
    </message>
    <message>
        <source>Cannot keep the key for secure chat in %1.</source>
        <translation>Не вдається зберегти ключ для захищеного чату в %1.</translation>
    </message>
</context>
<context>
    <name>HostMode</name>
    <message numerus="yes">
        <source>%n Friend(s) available</source>
        <translation>
            <numerusform>У чаті %n друг</numerusform>
            <numerusform>У чаті %n друзі</numerusform>
            <numerusform>У чаті %n друзів</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Client(s) connected</source>
        <translation>
            <numerusform>Під’єднано %n гостя</numerusform>
            <numerusform>Під’єднано %n гостей</numerusform>
            <numerusform>Під’єднано %n гостей</numerusform>
        </translation>
    </message>
    <message>
        <source>Do you really want to close Conection?</source>
        <translation>Ви справді хочете закрити з’єднання?</translation>
    </message>
    <message>
        <source> : At this moment I&apos;m Host.</source>
        <translation> : Зараз я хост.</translation>
    </message>
    <message>
        <source>Host: %1 Listening on port: %2</source>
        <translation>Хост: %1, очікує на порту %2</translation>
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
        <translation>Нові підключення поки відхиляються: %1</translation>
    </message>
    <message>
        <source>Connection rejected for %1: the chat is full with %2 guests</source>
        <translation>З’єднання з %1 відхилено: у чаті вже %2 гостей, місць немає</translation>
    </message>
    <message>
        <source>: New guest coming from address: %1 on port %2</source>
        <translation>: Новий гість з адреси %1, порт %2</translation>
    </message>
    <message>
        <source>Connection rejected for %1</source>
        <translation>З’єднання з %1 відхилено</translation>
    </message>
    <message>
        <source>Connection rejected for %1: %2</source>
        <translation>З’єднання з %1 відхилено: %2</translation>
    </message>
    <message>
        <source>Line from %1 not relayed: it breaks a line</source>
        <translation>Рядок від %1 не передано: у ньому перенесення рядка</translation>
    </message>
    <message>
        <source>Line from %1 not relayed: it names nobody</source>
        <translation>Рядок від %1 не передано: у ньому не вказано відправника</translation>
    </message>
    <message>
        <source>Line from %1 not relayed: it names %2</source>
        <translation>Рядок від %1 не передано: відправником у ньому названо %2</translation>
    </message>
    <message>
        <source>the name %1 is taken</source>
        <translation>ім’я %1 уже зайняте</translation>
    </message>
    <message>
        <source>it gave no name</source>
        <translation>ім’я не вказано</translation>
    </message>
    <message>
        <source>its name is longer than %1 characters</source>
        <translation>ім’я довше за %1 символів</translation>
    </message>
    <message>
        <source>its name holds a control character</source>
        <translation>в імені є керівний символ</translation>
    </message>
    <message>
        <source>Connection closed for %1: %2</source>
        <translation>З’єднання з %1 закрито: %2</translation>
    </message>
    <message>
        <source>Guest by %1 on port %2 is away.</source>
        <translation>Гість з %1, порт %2, пішов.</translation>
    </message>
    <message>
        <source>only secure guests may join</source>
        <translation>допускаються лише захищені гості</translation>
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
        <translation>Я &amp;гість</translation>
    </message>
    <message>
        <source>&amp;Save Chat</source>
        <translation>&amp;Зберегти чат</translation>
    </message>
    <message>
        <source>Save  &amp;As...</source>
        <translation>Зберегти &amp;як...</translation>
    </message>
    <message>
        <source>Se&amp;tup</source>
        <translation>&amp;Налаштування</translation>
    </message>
    <message>
        <source>Cl&amp;ose Chat</source>
        <translation>За&amp;крити чат</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Сховати &amp;вікно</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>Ви&amp;йти</translation>
    </message>
    <message>
        <source>C&amp;oupon</source>
        <translation>&amp;Купе</translation>
    </message>
    <message>
        <source>&amp;Friends</source>
        <translation>&amp;Друзі</translation>
    </message>
    <message>
        <source>&amp;Quiet</source>
        <translation>&amp;Тихо</translation>
    </message>
    <message>
        <source>&amp;Reconnect</source>
        <translation>&amp;Перепідключатися</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Довідка</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Про програму</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Зміст</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Відкрити</translation>
    </message>
    <message>
        <source>I&apos;m busy</source>
        <translation>Я зайнятий</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Про програму</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Вийти</translation>
    </message>
    <message>
        <source>Trying ...</source>
        <translation>Під’єднання ...</translation>
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
        <translation>Хост зайнятий</translation>
    </message>
    <message>
        <source>Guest</source>
        <translation>Гість</translation>
    </message>
</context>
<context>
    <name>PartFile</name>
    <message>
        <source>Not enough room in %1: %2 are needed and %3 are free.</source>
        <translation>Недостатньо місця в %1: потрібно %2, вільно %3.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Не вдається записати %1: %2</translation>
    </message>
    <message>
        <source>The part received of %1 is gone: it starts again.</source>
        <translation>Отримана частина %1 зникла: передавання почнеться знову.</translation>
    </message>
    <message>
        <source>%1 did not arrive as it was sent: its SHA-256 does not match.</source>
        <translation>%1 надійшов не таким, яким був надісланий: SHA-256 не збігається.</translation>
    </message>
    <message>
        <source>Cannot give %1 its name: %2</source>
        <translation>Не вдається дати файлу %1 його ім’я: %2</translation>
    </message>
</context>
<context>
    <name>PersonChooser</name>
    <message>
        <source>Private message</source>
        <translation>Особисте повідомлення</translation>
    </message>
    <message>
        <source>Type a name</source>
        <translation>Введіть ім’я</translation>
    </message>
    <message>
        <source>Nobody else is in the chat.</source>
        <translation>У чаті більше нікого немає.</translation>
    </message>
</context>
<context>
    <name>PrivateChat</name>
    <message>
        <source>%1 chats in the clear, where private messages cannot go.</source>
        <translation>%1 спілкується без шифрування, туди особисті повідомлення не йдуть.</translation>
    </message>
    <message>
        <source>%1&apos;s copy of the program cannot take private messages.</source>
        <translation>Програма в %1 не приймає особисті повідомлення.</translation>
    </message>
    <message>
        <source>%1&apos;s copy of the program cannot take files.</source>
        <translation>Копія програми в %1 не може приймати файли.</translation>
    </message>
</context>
<context>
    <name>PrivateMessaging</name>
    <message>
        <source>Private &amp;message...</source>
        <translation>Особисте &amp;повідомлення...</translation>
    </message>
    <message>
        <source>Private message</source>
        <translation>Особисте повідомлення</translation>
    </message>
    <message>
        <source>Send file...</source>
        <translation>Надіслати файл...</translation>
    </message>
    <message>
        <source>Key...</source>
        <translation>Ключ...</translation>
    </message>
    <message>
        <source>%1 shows no key: %1 chats in the clear.</source>
        <translation>%1 не показує ключа: %1 спілкується без шифрування.</translation>
    </message>
    <message>
        <source>This copy has seen this key under this name before.</source>
        <translation>Ця копія вже бачила цей ключ під цим іменем.</translation>
    </message>
    <message>
        <source>This copy sees this key under this name for the first time.</source>
        <translation>Ця копія бачить цей ключ під цим іменем уперше.</translation>
    </message>
    <message>
        <source>%1&apos;s key:

%2

%3 Compare it with the one %1&apos;s Secure chat dialog shows.</source>
        <translation>Ключ %1:

%2

%3 Порівняйте його з тим, що показує діалог «Захищений чат» у %1.</translation>
    </message>
    <message>
        <source>No key: chats in the clear</source>
        <translation>Немає ключа: спілкується без шифрування</translation>
    </message>
    <message>
        <source>Known key %1</source>
        <translation>Відомий ключ %1</translation>
    </message>
    <message>
        <source>New key %1</source>
        <translation>Новий ключ %1</translation>
    </message>
    <message>
        <source>%1 is not in the chat: what you write waits, and goes when %1 is back.</source>
        <translation>%1 немає в чаті: написане чекає й піде, коли %1 повернеться.</translation>
    </message>
    <message>
        <source>End to end: only %1&apos;s copy, the host&apos;s, can read this. %1&apos;s key %2</source>
        <translation>Наскрізне шифрування: прочитати це може лише копія %1, хоста. Ключ %1: %2</translation>
    </message>
    <message>
        <source>End to end: only %1&apos;s copy can read this, over your own secure link. %1&apos;s key %2</source>
        <translation>Наскрізне шифрування: прочитати це може лише копія %1, вашим власним захищеним з’єднанням. Ключ %1: %2</translation>
    </message>
    <message>
        <source>End to end: only %1&apos;s copy can read this; the host passes it on sealed. %1&apos;s key %2</source>
        <translation>Наскрізне шифрування: прочитати це може лише копія %1; хост передає його запечатаним. Ключ %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n unread private message(s)</source>
        <translation>
            <numerusform>%n непрочитане особисте повідомлення</numerusform>
            <numerusform>%n непрочитані особисті повідомлення</numerusform>
            <numerusform>%n непрочитаних особистих повідомлень</numerusform>
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
        <translation>Підтвердження</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Помилка</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Використання: %1</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[опції]</translation>
    </message>
</context>
<context>
    <name>RuntimeErrors</name>
    <message>
        <source>List index out of bounds (%1)</source>
        <translation>Індекс списку поза допустимими межами (%1)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>«%1» — неприпустиме ціле число</translation>
    </message>
</context>
<context>
    <name>SecureChat</name>
    <message>
        <source>The host at %1:%2 is known by its key, but now it answers only in the clear.
Someone may be playing the host. If the host no longer offers secure chat, forget its key (Coupon, Secure chat...) and join again.</source>
        <translation>Хост %1:%2 відомий за своїм ключем, але тепер відповідає лише без шифрування.
Можливо, хтось видає себе за цей хост. Якщо хост більше не пропонує захищений чат, забудьте його ключ (Купе, Захищений чат...) і під’єднайтеся знову.</translation>
    </message>
    <message>
        <source>%1 of %2 secure</source>
        <translation>захищено %1 з %2</translation>
    </message>
    <message>
        <source>Secure, host verified</source>
        <translation>Захищено, хост перевірено</translation>
    </message>
    <message>
        <source>Not secure</source>
        <translation>Не захищено</translation>
    </message>
    <message>
        <source>Secure guests chat over TLS 1.3. Lines sent to the other guests cross the LAN in the clear, where anyone on it can read them.</source>
        <translation>Захищені гості спілкуються через TLS 1.3. Рядки для інших гостей ідуть локальною мережею відкритим текстом, і їх може прочитати будь-хто в цій мережі.</translation>
    </message>
    <message>
        <source>This chat crosses the LAN over TLS 1.3, with the host&apos;s key checked.</source>
        <translation>Цей чат іде локальною мережею через TLS 1.3, ключ хоста перевірено.</translation>
    </message>
    <message>
        <source>This chat crosses the LAN in the clear: anyone on it can read it.</source>
        <translation>Цей чат іде локальною мережею відкритим текстом: його може прочитати будь-хто в цій мережі.</translation>
    </message>
    <message>
        <source>The host at %1:%2 shows another key than the one it showed before.

Expected: %3
Shown:    %4

Someone may be playing the host. If the host has made a new key, compare the new fingerprint with the one its Secure chat dialog shows, then forget the old key (Coupon, Secure chat...) in %5 and join again.</source>
        <translation>Хост %1:%2 показує інший ключ, ніж раніше.

Очікувався: %3
Показано:   %4

Можливо, хтось видає себе за цей хост. Якщо хост створив новий ключ, порівняйте новий відбиток із тим, що показує його вікно «Захищений чат», потім забудьте старий ключ (Купе, Захищений чат...) у %5 і під’єднайтеся знову.</translation>
    </message>
    <message>
        <source>The host at %1 asks for the chat password:</source>
        <translation>Хост %1 запитує пароль чату:</translation>
    </message>
    <message numerus="yes">
        <source>%n refused password attempts from %1</source>
        <translation>
            <numerusform>%n відхилена спроба введення пароля з %1</numerusform>
            <numerusform>%n відхилені спроби введення пароля з %1</numerusform>
            <numerusform>%n відхилених спроб введення пароля з %1</numerusform>
        </translation>
    </message>
    <message>
        <source>The key kept for the host at %1:%2 is damaged in %3 (the file as it was is kept as %4).

Someone may be playing the host. Compare the host&apos;s fingerprint with the one its Secure chat dialog shows, mend or delete the line, and join again.</source>
        <translation>Ключ, збережений для хоста %1:%2, пошкоджено в %3 (файл у колишньому вигляді збережено як %4).

Хтось може видавати себе за хост. Порівняйте відбиток хоста з тим, що показує його вікно «Захищений чат», виправте або видаліть рядок і під’єднайтеся знову.</translation>
    </message>
    <message>
        <source>This is the first secure chat with the host at %1:%2. It shows the key

%3

</source>
        <translation>Це перший захищений чат із хостом %1:%2. Він показує ключ

%3

</translation>
    </message>
    <message>
        <source>The host proved that it knows the chat password you gave.

</source>
        <translation>Хост довів, що знає введений вами пароль чату.

</translation>
    </message>
    <message>
        <source>Compare it with the fingerprint in the host&apos;s Secure chat dialog. Trust it?</source>
        <translation>Порівняйте його з відбитком у діалозі «Захищений чат» у хоста. Довіряти?</translation>
    </message>
</context>
<context>
    <name>SecureChatDialog</name>
    <message>
        <source>Secure chat</source>
        <translation>Захищений чат</translation>
    </message>
    <message>
        <source>This copy&apos;s fingerprint</source>
        <translation>Відбиток цієї копії</translation>
    </message>
    <message>
        <source>Do not offer secure chat</source>
        <translation>Не пропонувати захищений чат</translation>
    </message>
    <message>
        <source>Offer secure chat beside the plain one</source>
        <translation>Пропонувати захищений чат поряд із відкритим</translation>
    </message>
    <message>
        <source>Require secure chat of every guest</source>
        <translation>Вимагати захищений чат від кожного гостя</translation>
    </message>
    <message>
        <source>&amp;Join hosts securely where they offer it</source>
        <translation>&amp;Під’єднуватися захищено, де хост це пропонує</translation>
    </message>
    <message>
        <source>Chat password</source>
        <translation>Пароль чату</translation>
    </message>
    <message>
        <source>&amp;Set</source>
        <translation>&amp;Задати</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Прибрати</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Хост</translation>
    </message>
    <message>
        <source>Fingerprint</source>
        <translation>Відбиток</translation>
    </message>
    <message>
        <source>Known hosts</source>
        <translation>Відомі хости</translation>
    </message>
    <message>
        <source>This copy&apos;s fingerprint:</source>
        <translation>Відбиток цієї копії:</translation>
    </message>
    <message>
        <source>When &amp;hosting:</source>
        <translation>Коли я &amp;хост:</translation>
    </message>
    <message>
        <source>Chat &amp;password:</source>
        <translation>&amp;Пароль чату:</translation>
    </message>
    <message>
        <source>Hosts known by their keys:</source>
        <translation>Хости, відомі за ключами:</translation>
    </message>
    <message>
        <source>(no key could be made)</source>
        <translation>(створити ключ не вдалося)</translation>
    </message>
    <message>
        <source>A password is set: guests are asked for it.</source>
        <translation>Пароль задано: гостей про нього питають.</translation>
    </message>
    <message>
        <source>No password is set.</source>
        <translation>Пароль не задано.</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Забути</translation>
    </message>
    <message>
        <source>Forget %1</source>
        <translation>Забути %1</translation>
    </message>
    <message>
        <source>Hold each guest&apos;s &amp;name for its key for 30 days</source>
        <translation>Закріплювати &amp;ім’я кожного гостя за його ключем на 30 днів</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Ім’я</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Ключ</translation>
    </message>
    <message>
        <source>Last seen</source>
        <translation>Востаннє</translation>
    </message>
    <message>
        <source>Held names</source>
        <translation>Закріплені імена</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>Звільнити</translation>
    </message>
    <message>
        <source>Release %1</source>
        <translation>Звільнити %1</translation>
    </message>
    <message>
        <source>&amp;Relay files between guests</source>
        <translation>&amp;Пересилати файли між гостями</translation>
    </message>
    <message>
        <source> MiB</source>
        <translation> МіБ</translation>
    </message>
    <message>
        <source>any size</source>
        <translation>будь-який розмір</translation>
    </message>
    <message>
        <source>Largest file relayed</source>
        <translation>Найбільший пересилуваний файл</translation>
    </message>
    <message>
        <source>&amp;Largest file:</source>
        <translation>&amp;Найбільший файл:</translation>
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
        <translation>Відмова</translation>
    </message>
    <message>
        <source>neither Include nor Exclude</source>
        <translation>ні «Допуск», ні «Відмова»</translation>
    </message>
    <message>
        <source>none</source>
        <translation>немає</translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> і ще %n</numerusform>
            <numerusform> і ще %n</numerusform>
            <numerusform> і ще %n</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2 → %3</source>
        <translation>%1: %2 → %3</translation>
    </message>
    <message>
        <source>Host address</source>
        <translation>Адреса хоста</translation>
    </message>
    <message>
        <source>Nickname</source>
        <translation>Ім’я</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Колір</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Фільтр</translation>
    </message>
    <message>
        <source>Filter lines</source>
        <translation>Рядки фільтра</translation>
    </message>
    <message>
        <source>%1 changes your settings:

</source>
        <translation>%1 змінює ваші налаштування:

</translation>
    </message>
    <message>
        <source>

With these settings, anyone on the network can join the chat you host.</source>
        <translation>

З такими налаштуваннями до чату, де ви хост, зможе під’єднатися будь-хто в мережі.</translation>
    </message>
    <message>
        <source>

Nothing is kept until you press OK.</source>
        <translation>

Нічого не збережеться, доки ви не натиснете «Гаразд».</translation>
    </message>
</context>
<context>
    <name>SocketErrors</name>
    <message>
        <source>The host&apos;s key was not trusted: the chat was not joined.</source>
        <translation>Ключу хоста не довірилися: до чату не під’єдналися.</translation>
    </message>
    <message>
        <source>The host asks for a chat password, and none was given.</source>
        <translation>Хост вимагає пароль чату, а його не було введено.</translation>
    </message>
    <message>
        <source>The host refused the chat password.</source>
        <translation>Хост не прийняв пароль чату.</translation>
    </message>
    <message>
        <source>Interrupted system call</source>
        <translation>Системний виклик перервано</translation>
    </message>
    <message>
        <source>Bad file number</source>
        <translation>Неправильний номер файлу</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Доступ заборонено</translation>
    </message>
    <message>
        <source>Bad address</source>
        <translation>Неправильна адреса</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>Неприпустимий аргумент</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Забагато відкритих файлів</translation>
    </message>
    <message>
        <source>Operation would block</source>
        <translation>Операція призвела б до блокування</translation>
    </message>
    <message>
        <source>Operation now in progress</source>
        <translation>Операція виконується</translation>
    </message>
    <message>
        <source>Operation already in progress</source>
        <translation>Операція вже виконується</translation>
    </message>
    <message>
        <source>Socket operation on nonsocket</source>
        <translation>Операція з сокетом над об’єктом, що не є сокетом</translation>
    </message>
    <message>
        <source>Destination address required</source>
        <translation>Потрібна адреса призначення</translation>
    </message>
    <message>
        <source>Message too long</source>
        <translation>Задовге повідомлення</translation>
    </message>
    <message>
        <source>Protocol wrong type for socket</source>
        <translation>Неправильний тип протоколу для сокета</translation>
    </message>
    <message>
        <source>Protocol not available</source>
        <translation>Протокол недоступний</translation>
    </message>
    <message>
        <source>Protocol not supported</source>
        <translation>Протокол не підтримується</translation>
    </message>
    <message>
        <source>Socket not supported</source>
        <translation>Тип сокета не підтримується</translation>
    </message>
    <message>
        <source>Operation not supported on socket</source>
        <translation>Операція не підтримується для сокета</translation>
    </message>
    <message>
        <source>Protocol family not supported</source>
        <translation>Родина протоколів не підтримується</translation>
    </message>
    <message>
        <source>Address family not supported</source>
        <translation>Родина адрес не підтримується</translation>
    </message>
    <message>
        <source>Address already in use</source>
        <translation>Адреса вже використовується</translation>
    </message>
    <message>
        <source>Can&apos;t assign requested address</source>
        <translation>Не вдається призначити запитану адресу</translation>
    </message>
    <message>
        <source>Network is down</source>
        <translation>Мережа не працює</translation>
    </message>
    <message>
        <source>Network is unreachable</source>
        <translation>Мережа недосяжна</translation>
    </message>
    <message>
        <source>Network dropped connection on reset</source>
        <translation>Мережа розірвала з’єднання під час скидання</translation>
    </message>
    <message>
        <source>Software caused connection abort</source>
        <translation>З’єднання перервано програмою</translation>
    </message>
    <message>
        <source>Connection reset by peer</source>
        <translation>З’єднання скинуто іншою стороною</translation>
    </message>
    <message>
        <source>No buffer space available</source>
        <translation>Бракує місця в буфері</translation>
    </message>
    <message>
        <source>Socket is already connected</source>
        <translation>Сокет уже під’єднано</translation>
    </message>
    <message>
        <source>Socket is not connected</source>
        <translation>Сокет не під’єднано</translation>
    </message>
    <message>
        <source>Can&apos;t send after socket shutdown</source>
        <translation>Не можна надсилати після закриття сокета</translation>
    </message>
    <message>
        <source>Too many references:can&apos;t splice</source>
        <translation>Забагато посилань: з’єднання неможливе</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Час очікування з’єднання минув</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>У з’єднанні відмовлено</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Забагато рівнів символьних посилань</translation>
    </message>
    <message>
        <source>File name is too long</source>
        <translation>Задовга назва файлу</translation>
    </message>
    <message>
        <source>Host is down</source>
        <translation>Хост не працює</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>Немає маршруту до хоста</translation>
    </message>
    <message>
        <source>Directory is not empty</source>
        <translation>Каталог не порожній</translation>
    </message>
    <message>
        <source>Too many processes</source>
        <translation>Забагато процесів</translation>
    </message>
    <message>
        <source>Too many users</source>
        <translation>Забагато користувачів</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Перевищено дискову квоту</translation>
    </message>
    <message>
        <source>Stale NFS file handle</source>
        <translation>Застарілий дескриптор файлу NFS</translation>
    </message>
    <message>
        <source>Too many levels of remote in path</source>
        <translation>Забагато віддалених рівнів у шляху</translation>
    </message>
    <message>
        <source>Network subsystem is unusable</source>
        <translation>Мережева підсистема непридатна до роботи</translation>
    </message>
    <message>
        <source>Winsock DLL cannot support this application</source>
        <translation>Бібліотека Winsock не підтримує цю програму</translation>
    </message>
    <message>
        <source>Winsock not initialized</source>
        <translation>Winsock не ініціалізовано</translation>
    </message>
    <message>
        <source>Host not found</source>
        <translation>Хост не знайдено</translation>
    </message>
    <message>
        <source>Non authoritative - host not found</source>
        <translation>Неавторитетна відповідь: хост не знайдено</translation>
    </message>
    <message>
        <source>Non recoverable error</source>
        <translation>Невиправна помилка</translation>
    </message>
    <message>
        <source>Valid name, no data record of requested type</source>
        <translation>Ім’я припустиме, але запису потрібного типу немає</translation>
    </message>
    <message>
        <source>Not a Winsock error</source>
        <translation>Не помилка Winsock</translation>
    </message>
    <message>
        <source>The host waited five minutes for the key to be trusted and the password given, and gave up. Join again.</source>
        <translation>Хост п’ять хвилин чекав, поки ключу довірять і введуть пароль, і припинив очікування. Під’єднайтеся знову.</translation>
    </message>
    <message>
        <source>The host could not prove that it knows the chat password: it may not be the host it claims to be.</source>
        <translation>Хост не зміг довести, що знає пароль чату: можливо, це не той хост, за якого він себе видає.</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About</source>
        <translation>Про програму</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Гаразд</translation>
    </message>
    <message>
        <source>Vanu Server&amp;Client</source>
        <translation>Vanu: сервер і клієнт</translation>
    </message>
    <message>
        <source>Version: 3.1</source>
        <translation>Версія: 3.1</translation>
    </message>
    <message>
        <source>This is a multi-user chat. To use it best, run it on more than one PC with at least one copy in server mode. Then connect all of the other copies to that server&apos;s address. You will then be able to chat to each other much like IRC.</source>
        <translation>Багатокористувацький чат. Запустіть його на кількох комп’ютерах, одну копію — сервером, і під’єднайте решту до її адреси. Тоді ви зможете спілкуватися майже як в IRC.</translation>
    </message>
    <message>
        <source>Mail me at:</source>
        <translation>Пишіть мені:</translation>
    </message>
    <message>
        <source>or</source>
        <translation>або</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Вебсторінка</translation>
    </message>
    <message>
        <source>Mail to %1</source>
        <translation>Написати на %1</translation>
    </message>
</context>
<context>
    <name>TCustomWSocket</name>
    <message>
        <source>Berkeley sockets on %1</source>
        <translation>Сокети Берклі в %1</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>Працює</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source> Vanu Server&amp;Client  by the Vanu developers, 2026</source>
        <translation> Vanu: сервер і клієнт  від розробників Vanu, 2026</translation>
    </message>
    <message>
        <source> WinSocket Version: </source>
        <translation> Версія WinSocket: </translation>
    </message>
    <message>
        <source> Description: </source>
        <translation> Опис: </translation>
    </message>
    <message>
        <source> SystemStatus: </source>
        <translation> Стан системи: </translation>
    </message>
    <message>
        <source> Local Host Name: </source>
        <translation> Ім’я цього комп’ютера: </translation>
    </message>
    <message>
        <source> Local Host Address: </source>
        <translation> Адреса цього комп’ютера: </translation>
    </message>
    <message>
        <source>Do you want to stop tray?</source>
        <translation>Перервати спробу під’єднання?</translation>
    </message>
    <message>
        <source>Close the Chat?</source>
        <translation>Закрити чат?</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>Друзі</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Стан</translation>
    </message>
</context>
<context>
    <name>TForm8</name>
    <message>
        <source>You really must enter<byte value="xd"/>Nickname and Host address</source>
        <translation>Обов’язково вкажіть<byte value="xd"/>ім’я та адресу хоста</translation>
    </message>
    <message>
        <source>Setup Configuration</source>
        <translation>Налаштування</translation>
    </message>
    <message>
        <source>Host Address</source>
        <translation>Адреса хоста</translation>
    </message>
    <message>
        <source>Port def.</source>
        <translation>Станд.</translation>
    </message>
    <message>
        <source>Your Name</source>
        <translation>Ваше ім’я</translation>
    </message>
    <message>
        <source>Your Colour</source>
        <translation>Колір</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Відкрити</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Зберегти</translation>
    </message>
    <message>
        <source>    Personally    </source>
        <translation>   Особисте   </translation>
    </message>
    <message>
        <source>Permission to Server (FireWall)</source>
        <translation>Доступ до сервера (фільтр)</translation>
    </message>
    <message>
        <source>filter</source>
        <translation>фільтр</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Допуск</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Відмова</translation>
    </message>
    <message>
        <source>    SetServer    </source>
        <translation>    Сервер    </translation>
    </message>
    <message>
        <source>%1 also covers %2</source>
        <translation>%1 охоплює також %2</translation>
    </message>
    <message numerus="yes">
        <source>%1 (+%n more)</source>
        <translation>
            <numerusform>%1 (+ще %n)</numerusform>
            <numerusform>%1 (+ще %n)</numerusform>
            <numerusform>%1 (+ще %n)</numerusform>
        </translation>
    </message>
    <message>
        <source>A filter line stands for every address that begins with it.</source>
        <translation>Рядок фільтра означає будь-яку адресу, що з нього починається.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Гаразд</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Скасувати</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Не вдається відкрити файл %1</translation>
    </message>
    <message>
        <source>File %1 is too large for a setup file</source>
        <translation>Файл %1 завеликий для файлу налаштувань</translation>
    </message>
    <message>
        <source>These characters cannot be written to a setup file and become &quot;?&quot;: %1<byte value="xd"/>Save all the same?</source>
        <translation>Ці символи не можна записати у файл налаштувань, вони стануть «?»: %1<byte value="xd"/>Усе одно зберегти?</translation>
    </message>
    <message>
        <source>This collor is not valid</source>
        <translation>Неприпустимий колір</translation>
    </message>
    <message>
        <source>I cannot save settings!</source>
        <translation>Не вдається зберегти налаштування!</translation>
    </message>
    <message>
        <source>Text files (*.set)|*.set</source>
        <translation>Файли налаштувань (*.set)|*.set</translation>
    </message>
    <message>
        <source>Save Setup</source>
        <translation>Зберегти налаштування</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Не вдається створити файл %1</translation>
    </message>
    <message>
        <source>Open Setup</source>
        <translation>Відкрити налаштування</translation>
    </message>
    <message>
        <source>Host address</source>
        <translation>Адреса хоста</translation>
    </message>
    <message>
        <source>The address of the host to join as a guest</source>
        <translation>Адреса хоста, до якого ви під’єднуєтеся гостем</translation>
    </message>
    <message>
        <source>Default port</source>
        <translation>Стандартний порт</translation>
    </message>
    <message>
        <source>When unchecked, the port field below can be changed</source>
        <translation>Якщо зняти позначку, порт нижче можна змінити</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Ваше ім’я</translation>
    </message>
    <message>
        <source>Your colour</source>
        <translation>Ваш колір</translation>
    </message>
    <message>
        <source>Load a setup file</source>
        <translation>Відкрити файл налаштувань</translation>
    </message>
    <message>
        <source>Save a setup file</source>
        <translation>Зберегти файл налаштувань</translation>
    </message>
    <message>
        <source>Filter lines</source>
        <translation>Рядки фільтра</translation>
    </message>
    <message>
        <source>One address, or the beginning of addresses, a line; Tab leaves the box</source>
        <translation>По одній адресі або початку адрес у рядку; Tab виходить із поля</translation>
    </message>
    <message>
        <source>Filter note</source>
        <translation>Примітка до фільтра</translation>
    </message>
    <message>
        <source>Filter mode</source>
        <translation>Режим фільтра</translation>
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
        <translation>Дякуємо, що обрали Vanu.

Vanu

Щоб ви з друзями могли знайти одне одного,
одна копія програми має працювати сервером
на комп’ютері з постійною IP-адресою. Vanu
створено для чистого й безпечного
спілкування: він передає лише текст. Ніхто
не потрапить на ваш комп’ютер, якщо ви самі
не допустили його за IP-адресою. Щоб
указати, кого допускати, впишіть адреси до
списку в меню Чат\Налаштування й оберіть
«Допуск» або, для небажаних гостей,
«Відмова». Там само обираються ваше ім’я та
колір тексту, а налаштування можна зберегти
у файл. Фільтр може охоплювати цілі мережі:
він означає будь-яку адресу, що з нього
починається. Під час кожного запуску
програма читає налаштування з файлу
«LastSetup.set». Якщо серверу потрібен
спокій від нових гостей, оберіть «Я
зайнятий» у меню значка в треї. Чат
зберігається командою Чат\Зберегти чат у
«DirChat(n).txt» або через «Зберегти як...»
під будь-якою назвою. Можна також створити
файли налаштувань і надіслати їх друзям, у
яких є Vanu. Імена комп’ютерів замість
адрес працюють лише з налаштованим DNS.
Інакше вказуйте IP-адреси, наприклад
127.0.0.1 замість localhost. Приємного
спілкування в купе!</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Довідка</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Гаразд</translation>
    </message>
</context>
<context>
    <name>TfFriends</name>
    <message>
        <source>Friends</source>
        <translation>Друзі</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Відкрити</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Про програму</translation>
    </message>
    <message>
        <source>Participants</source>
        <translation>Учасники</translation>
    </message>
    <message>
        <source>Everybody in the chat</source>
        <translation>Усі, хто в чаті</translation>
    </message>
</context>
<context>
    <name>Transcript</name>
    <message>
        <source>Text files (*.txt)|*.txt|All files (*.*)|*.*</source>
        <translation>Текстові файли (*.txt)|*.txt|Усі файли (*.*)|*.*</translation>
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
        <translation>Зберегти файл</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Не вдається створити файл %1</translation>
    </message>
</context>
<context>
    <name>Transfer</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Не вдається прочитати %1: %2</translation>
    </message>
    <message>
        <source>The other copy sent what no copy sends.</source>
        <translation>Інша копія надіслала те, чого не надсилає жодна копія.</translation>
    </message>
    <message>
        <source>Declined: %1</source>
        <translation>Відхилено: %1</translation>
    </message>
    <message>
        <source>A block of %1 failed its check three times.</source>
        <translation>Блок файлу %1 тричі не пройшов перевірку.</translation>
    </message>
    <message>
        <source>%1 changed since it was offered: the transfer ends.</source>
        <translation>%1 змінився після пропозиції: передавання припинено.</translation>
    </message>
    <message>
        <source>Cannot make the folder for %1.</source>
        <translation>Не вдається створити теку для %1.</translation>
    </message>
    <message>
        <source>More than %1 files: send fewer at a time.</source>
        <translation>Понад %1 файлів: надсилайте менше за раз.</translation>
    </message>
    <message>
        <source>There is no file to send.</source>
        <translation>Немає файлів для надсилання.</translation>
    </message>
    <message>
        <source>The files sent are not the ones offered.</source>
        <translation>Надіслані файли не збігаються із запропонованими.</translation>
    </message>
    <message>
        <source>Cannot write %1: the disk is full.</source>
        <translation>Не вдається записати %1: диск заповнено.</translation>
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
            <numerusform>%n файли</numerusform>
            <numerusform>%n файлів</numerusform>
        </translation>
    </message>
    <message>
        <source>Waiting for %1 to answer.</source>
        <translation>Очікування відповіді від %1.</translation>
    </message>
    <message>
        <source>Waiting for your answer.</source>
        <translation>Чекає на вашу відповідь.</translation>
    </message>
    <message>
        <source>Paused.</source>
        <translation>Призупинено.</translation>
    </message>
    <message>
        <source>Sent: %1 has it, checked.</source>
        <translation>Надіслано: %1 отримав(ла), перевірено.</translation>
    </message>
    <message>
        <source>Arrived, checked: %1</source>
        <translation>Отримано, перевірено: %1</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Не вдалося: %1</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 з %2</translation>
    </message>
    <message>
        <source>%1/s</source>
        <translation>%1/с</translation>
    </message>
    <message numerus="yes">
        <source>%n s left</source>
        <translation>
            <numerusform>залишилось %n с</numerusform>
            <numerusform>залишилось %n с</numerusform>
            <numerusform>залишилось %n с</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n min left</source>
        <translation>
            <numerusform>залишилось %n хв</numerusform>
            <numerusform>залишилось %n хв</numerusform>
            <numerusform>залишилось %n хв</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n h left</source>
        <translation>
            <numerusform>залишилось %n год</numerusform>
            <numerusform>залишилось %n год</numerusform>
            <numerusform>залишилось %n год</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Accept</source>
        <translation>&amp;Прийняти</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>&amp;Зберегти як...</translation>
    </message>
    <message>
        <source>&amp;Decline</source>
        <translation>&amp;Відхилити</translation>
    </message>
    <message>
        <source>Al&amp;ways accept from this person</source>
        <translation>&amp;Завжди приймати від цієї людини</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>При&amp;зупинити</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>С&amp;касувати</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Від&amp;крити</translation>
    </message>
    <message>
        <source>Show in fo&amp;lder</source>
        <translation>Показати в т&amp;еці</translation>
    </message>
    <message>
        <source>To %1: %2: %3</source>
        <translation>Для %1: %2: %3</translation>
    </message>
    <message>
        <source>%1 (key known) offers %2: %3</source>
        <translation>%1 (ключ відомий) пропонує %2: %3</translation>
    </message>
    <message>
        <source>%1 (key new to you) offers %2: %3</source>
        <translation>%1 (ключ вам новий) пропонує %2: %3</translation>
    </message>
    <message>
        <source>Progress of %1</source>
        <translation>Перебіг передачі: %1</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Продовжити</translation>
    </message>
</context>
<context>
    <name>TransfersWindow</name>
    <message>
        <source>Transfers</source>
        <translation>Передачі</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Файли</translation>
    </message>
    <message>
        <source>With</source>
        <translation>З ким</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Розмір</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Перебіг</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Швидкість</translation>
    </message>
    <message>
        <source>Time left</source>
        <translation>Залишилось</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Стан</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>При&amp;зупинити</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>С&amp;касувати</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Від&amp;крити</translation>
    </message>
    <message>
        <source>Show in fo&amp;lder</source>
        <translation>Показати в т&amp;еці</translation>
    </message>
    <message>
        <source>Progress of %1</source>
        <translation>Перебіг передачі: %1</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Продовжити</translation>
    </message>
</context>
<context>
    <name>VanuProgram</name>
    <message>
        <source>History paused</source>
        <translation>Історію призупинено</translation>
    </message>
    <message>
        <source>The chat history is paused: %1
The chat goes on.</source>
        <translation>Запис історії призупинено: %1
Чат триває.</translation>
    </message>
    <message>
        <source>The chat history was damaged. It is kept as %1, and a new history has begun.</source>
        <translation>Історію чатів було пошкоджено. Її збережено як %1, розпочато нову історію.</translation>
    </message>
    <message>
        <source>H&amp;istory...</source>
        <translation>&amp;Історія...</translation>
    </message>
    <message>
        <source>&amp;Secure chat...</source>
        <translation>За&amp;хищений чат...</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Не вдається відкрити файл %1</translation>
    </message>
    <message>
        <source>The chat history has reached its largest size: its oldest chats were deleted to make room.
Coupon, Largest history sets the size.</source>
        <translation>Історія чатів досягла найбільшого розміру: найстаріші чати видалено, щоб звільнити місце.
Розмір задається в меню «Купон», «Найбільший розмір історії».</translation>
    </message>
    <message>
        <source>Files relayed</source>
        <translation>Переслані файли</translation>
    </message>
    <message numerus="yes">
        <source>Relaying %n file transfer(s), %1 in all</source>
        <translation>
            <numerusform>Пересилається %n передача файлів, усього %1</numerusform>
            <numerusform>Пересилаються %n передачі файлів, усього %1</numerusform>
            <numerusform>Пересилається %n передач файлів, усього %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Files go only in secure chat, which is off here.</source>
        <translation>Файли передаються лише в захищеному чаті, а він тут вимкнений.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Vanu is a desktop program: start it in a desktop session (no display was found).
</source>
        <translation>Vanu — програма для робочого столу: запустіть її в сеансі робочого столу (дисплей не знайдено).
</translation>
    </message>
</context>
</TS>
