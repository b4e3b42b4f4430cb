<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>ChatFindBar</name>
    <message>
        <source>Find:</source>
        <translation>Suchen:</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Find in the chat</source>
        <translation>Im Chat suchen</translation>
    </message>
    <message>
        <source>Enter and Shift+Enter step through the matches; Escape closes</source>
        <translation>Eingabe und Umschalt+Eingabe springen von Treffer zu Treffer; Escape schließt</translation>
    </message>
    <message>
        <source>Matches</source>
        <translation>Treffer</translation>
    </message>
</context>
<context>
    <name>ChatNotifications</name>
    <message>
        <source>&amp;Notify</source>
        <translation>Be&amp;nachrichtigen</translation>
    </message>
    <message>
        <source>New guest coming from address: %1</source>
        <translation>Neuer Gast von der Adresse %1</translation>
    </message>
    <message numerus="yes">
        <source>While you were busy: %n new messages. The last: %1</source>
        <translation>
            <numerusform>Während Sie beschäftigt waren: %n neue Nachricht. Die letzte: %1</numerusform>
            <numerusform>Während Sie beschäftigt waren: %n neue Nachrichten. Die letzte: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Private message from %1: %2</source>
        <translation>Private Nachricht von %1: %2</translation>
    </message>
</context>
<context>
    <name>ChatPane</name>
    <message>
        <source>Chat</source>
        <translation>Chat</translation>
    </message>
    <message>
        <source>The lines of the chat, the newest last</source>
        <translation>Die Zeilen des Chats, die neueste zuletzt</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Your line; Enter sends it to everybody in the chat</source>
        <translation>Ihre Zeile; die Eingabetaste schickt sie an alle im Chat</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Vanu: text chat between several people on one local network.</source>
        <translation>Vanu: Text-Chat für mehrere Personen in einem lokalen Netz.</translation>
    </message>
    <message>
        <source>A setup file (.set) to load and confirm.</source>
        <translation>Eine Einstellungsdatei (.set), die geladen und bestätigt wird.</translation>
    </message>
    <message>
        <source>Print the last 50 lines of the chat history, or with words after it every kept line that has them all.</source>
        <translation>Die letzten 50 Zeilen des Chatverlaufs ausgeben oder, mit Wörtern dahinter, jede gespeicherte Zeile, die alle diese Wörter enthält.</translation>
    </message>
    <message>
        <source>Only one setup file can be given.</source>
        <translation>Es kann nur eine Einstellungsdatei angegeben werden.</translation>
    </message>
    <message>
        <source>Send the files and folders named after it: the running copy asks to whom.</source>
        <translation>Die danach genannten Dateien und Ordner senden: die laufende Kopie fragt, an wen.</translation>
    </message>
    <message>
        <source>Name the files to send after --send.</source>
        <translation>Nennen Sie die zu sendenden Dateien nach --send.</translation>
    </message>
</context>
<context>
    <name>ConversationWindow</name>
    <message>
        <source>Private message to %1</source>
        <translation>Private Nachricht an %1</translation>
    </message>
    <message>
        <source>%1 (%2 new)</source>
        <translation>%1 (%2 neu)</translation>
    </message>
    <message>
        <source>%1&apos;s key has changed since you last chatted. It was %2 and is now %3. If %1 did not make a new key, someone else may be using the name: ask %1 in person.</source>
        <translation>Der Schlüssel von %1 hat sich seit Ihrem letzten Gespräch geändert. Er war %2 und ist jetzt %3. Wenn %1 keinen neuen Schlüssel erstellt hat, benutzt vielleicht jemand anderes den Namen: Fragen Sie %1 persönlich.</translation>
    </message>
    <message>
        <source>  (waiting)</source>
        <translation>  (wartet)</translation>
    </message>
    <message>
        <source>  (delivered)</source>
        <translation>  (zugestellt)</translation>
    </message>
    <message>
        <source>Send &amp;file...</source>
        <translation>&amp;Datei senden...</translation>
    </message>
    <message>
        <source>Send files to %1 (Ctrl+Shift+F), or drop them on this window</source>
        <translation>Dateien an %1 senden (Strg+Umschalt+F) oder auf dieses Fenster ziehen</translation>
    </message>
</context>
<context>
    <name>FileChoice</name>
    <message>
        <source>%1 is a link to %2, which does not exist. Choose another name.</source>
        <translation>%1 ist ein Verweis auf %2, das es nicht gibt. Wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>OK to overwrite %1</source>
        <translation>%1 überschreiben?</translation>
    </message>
</context>
<context>
    <name>FileLink</name>
    <message>
        <source>The file connection ended.</source>
        <translation>Die Dateiverbindung ist beendet.</translation>
    </message>
    <message>
        <source>The other copy is not the one its key was announced for.</source>
        <translation>Das andere Programm ist nicht das, dessen Schlüssel angekündigt wurde.</translation>
    </message>
</context>
<context>
    <name>FileRelay</name>
    <message>
        <source>The host does not relay files.</source>
        <translation>Der Host leitet keine Dateien weiter.</translation>
    </message>
    <message>
        <source>The host relays no file larger than %1 MiB.</source>
        <translation>Der Host leitet keine Datei über %1 MiB weiter.</translation>
    </message>
</context>
<context>
    <name>FileSharing</name>
    <message>
        <source>Send files</source>
        <translation>Dateien senden</translation>
    </message>
    <message>
        <source>Send &amp;file...</source>
        <translation>&amp;Datei senden...</translation>
    </message>
    <message>
        <source>Trans&amp;fers</source>
        <translation>Über&amp;tragungen</translation>
    </message>
    <message>
        <source>Send files to %1</source>
        <translation>Dateien an %1 senden</translation>
    </message>
    <message>
        <source>All files (*)|*</source>
        <translation>Alle Dateien (*)|*</translation>
    </message>
    <message>
        <source>%1 is not in the chat, or cannot take files.</source>
        <translation>%1 ist nicht im Chat oder kann keine Dateien annehmen.</translation>
    </message>
    <message>
        <source>Save the files from %1 in</source>
        <translation>Die Dateien von %1 speichern in</translation>
    </message>
    <message>
        <source>%1 offers %2, %3</source>
        <translation>%1 bietet %2 an, %3</translation>
    </message>
    <message numerus="yes">
        <source>%1 offers %n transfers: %2, %3 in all</source>
        <translation>
            <numerusform>%1 bietet %n Übertragung an: %2, insgesamt %3</numerusform>
            <numerusform>%1 bietet %n Übertragungen an: %2, insgesamt %3</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 has %2.</source>
        <translation>%1 hat %2.</translation>
    </message>
    <message>
        <source>Sending %1 to %2 failed: %3</source>
        <translation>%1 an %2 zu senden ist gescheitert: %3</translation>
    </message>
    <message>
        <source>%1 from %2 arrived.</source>
        <translation>%1 von %2 ist angekommen.</translation>
    </message>
    <message>
        <source>%1 from %2 did not arrive: %3</source>
        <translation>%1 von %2 ist nicht angekommen: %3</translation>
    </message>
    <message>
        <source>%1, %2, SHA-256 %3%4</source>
        <translation>%1, %2, SHA-256 %3%4</translation>
    </message>
    <message>
        <source>, saved as %1</source>
        <translation>, gespeichert als %1</translation>
    </message>
    <message>
        <source>and %1 more files</source>
        <translation>und %1 weitere Dateien</translation>
    </message>
    <message>
        <source>[file] %1</source>
        <translation>[Datei] %1</translation>
    </message>
</context>
<context>
    <name>FileTransfers</name>
    <message>
        <source>The file connection ended.</source>
        <translation>Die Dateiverbindung ist beendet.</translation>
    </message>
    <message>
        <source>A name among the files cannot be sent: it has a character no file name may have.</source>
        <translation>Ein Name unter den Dateien kann nicht gesendet werden: er enthält ein Zeichen, das kein Dateiname haben darf.</translation>
    </message>
    <message>
        <source>Waiting for %1 to answer.</source>
        <translation>Warten auf die Antwort von %1.</translation>
    </message>
    <message>
        <source>%1 is not in the chat, or cannot take files.</source>
        <translation>%1 ist nicht im Chat oder kann keine Dateien annehmen.</translation>
    </message>
    <message>
        <source>Too many offers wait for an answer.</source>
        <translation>Zu viele Angebote warten auf eine Antwort.</translation>
    </message>
    <message>
        <source>The other copy does not know this transfer.</source>
        <translation>Die andere Kopie kennt diese Übertragung nicht.</translation>
    </message>
    <message>
        <source>It ended.</source>
        <translation>Sie ist beendet.</translation>
    </message>
    <message>
        <source>Declined: %1</source>
        <translation>Abgelehnt: %1</translation>
    </message>
    <message>
        <source>Cancelled by %1.</source>
        <translation>Von %1 abgebrochen.</translation>
    </message>
    <message>
        <source>Paused by %1.</source>
        <translation>Von %1 angehalten.</translation>
    </message>
    <message>
        <source>Connecting again…</source>
        <translation>Verbindet erneut…</translation>
    </message>
    <message>
        <source>%1 left: it goes on when they are back.</source>
        <translation>%1 ist gegangen: es geht weiter, sobald %1 zurück ist.</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Verbindet…</translation>
    </message>
    <message>
        <source>The folder %1 is not there.</source>
        <translation>Den Ordner %1 gibt es nicht.</translation>
    </message>
    <message>
        <source>No, thank you.</source>
        <translation>Nein, danke.</translation>
    </message>
    <message>
        <source>Declined.</source>
        <translation>Abgelehnt.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
</context>
<context>
    <name>FoundHostsPicker</name>
    <message>
        <source>%1:%2  %3 on %4</source>
        <translation>%1:%2  %3 auf %4</translation>
    </message>
    <message>
        <source>, busy</source>
        <translation>, beschäftigt</translation>
    </message>
    <message>
        <source>Hosts on the network (Alt+Down)</source>
        <translation>Hosts im Netz (Alt+Pfeil runter)</translation>
    </message>
    <message>
        <source>Network discovery is not available</source>
        <translation>Die Suche im Netz ist nicht verfügbar</translation>
    </message>
    <message>
        <source>No host found on the network yet</source>
        <translation>Noch kein Host im Netz gefunden</translation>
    </message>
</context>
<context>
    <name>FreedesktopNotifier</name>
    <message numerus="yes">
        <source>%1: %n new messages</source>
        <translation>
            <numerusform>%1: %n neue Nachricht</numerusform>
            <numerusform>%1: %n neue Nachrichten</numerusform>
        </translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>GuestMode</name>
    <message>
        <source>Trying to connect to %1 of port %2</source>
        <translation>Verbindungsversuch mit %1, Port %2</translation>
    </message>
    <message>
        <source>The name %1 is taken in this chat. Join it as %2?</source>
        <translation>Der Name %1 ist in diesem Chat vergeben. Als %2 beitreten?</translation>
    </message>
    <message>
        <source>Do you really want to close Conection?</source>
        <translation>Wollen Sie die Verbindung wirklich beenden?</translation>
    </message>
    <message>
        <source>You needet to accept Host</source>
        <translation>Sie müssen einen Host angeben</translation>
    </message>
    <message>
        <source>%1 is Guest to %2</source>
        <translation>%1 ist Gast bei %2</translation>
    </message>
    <message>
        <source> : Connected to the host again.</source>
        <translation> : Wieder mit dem Host verbunden.</translation>
    </message>
    <message>
        <source> : At this moment I&apos;m Guest.</source>
        <translation> : Ich bin jetzt Gast.</translation>
    </message>
    <message>
        <source>Connected on local port %1</source>
        <translation>Verbunden über lokalen Port %1</translation>
    </message>
    <message>
        <source> :Door closed by Host.</source>
        <translation> : Der Host hat die Tür geschlossen.</translation>
    </message>
    <message>
        <source>Connection to the host was lost: %1</source>
        <translation>Die Verbindung zum Host ist abgerissen: %1</translation>
    </message>
    <message>
        <source>Connection closed by Server!</source>
        <translation>Der Server hat die Verbindung beendet!</translation>
    </message>
</context>
<context>
    <name>GuestSession</name>
    <message>
        <source>&lt; %1 is away &gt;</source>
        <translation>&lt; %1 ist gegangen &gt;</translation>
    </message>
</context>
<context>
    <name>HistoryMenu</name>
    <message>
        <source>&amp;Keep chat history</source>
        <translation>&amp;Verlauf speichern</translation>
    </message>
    <message>
        <source>&amp;Delete chats older than</source>
        <translation>Chats &amp;löschen, älter als</translation>
    </message>
    <message>
        <source>&amp;Never</source>
        <translation>&amp;Nie</translation>
    </message>
    <message numerus="yes">
        <source>%n days</source>
        <translation>
            <numerusform>%n Tag</numerusform>
            <numerusform>%n Tage</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 MiB</source>
        <translation>%1 MiB</translation>
    </message>
    <message>
        <source>%1 GiB</source>
        <translation>%1 GiB</translation>
    </message>
    <message>
        <source>&amp;Largest history</source>
        <translation>&amp;Maximale Verlaufsgröße</translation>
    </message>
</context>
<context>
    <name>HistoryRecorder</name>
    <message>
        <source>[private with %1] &lt;%2&gt; %3</source>
        <translation>[privat mit %1] &lt;%2&gt; %3</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Vanu History</source>
        <translation>Vanu-Verlauf</translation>
    </message>
    <message>
        <source>Search all chats</source>
        <translation>Alle Chats durchsuchen</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Delete chat</source>
        <translation>Chat &amp;löschen</translation>
    </message>
    <message>
        <source>C&amp;lear history</source>
        <translation>Verlauf &amp;leeren</translation>
    </message>
    <message numerus="yes">
        <source>%1  (%n lines)</source>
        <translation>
            <numerusform>%1  (%n Zeile)</numerusform>
            <numerusform>%1  (%n Zeilen)</numerusform>
        </translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Die Datei %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Delete the chat of %1 from the history?</source>
        <translation>Den Chat vom %1 aus dem Verlauf löschen?</translation>
    </message>
    <message>
        <source>Delete every chat in the history?</source>
        <translation>Alle Chats im Verlauf löschen?</translation>
    </message>
    <message>
        <source>Every kept line with all the words typed here is listed below</source>
        <translation>Jede gespeicherte Zeile mit allen hier eingegebenen Wörtern steht darunter</translation>
    </message>
    <message>
        <source>Chats and lines found</source>
        <translation>Gefundene Chats und Zeilen</translation>
    </message>
    <message>
        <source>Chat kept in the history</source>
        <translation>Gespeicherter Chat</translation>
    </message>
</context>
<context>
    <name>HostIdentity</name>
    <message>
        <source>Cannot make a key for secure chat.</source>
        <translation>Für den sicheren Chat kann kein Schlüssel erzeugt werden.</translation>
    </message>
    <message>
        <source>Cannot keep the key for secure chat in %1.</source>
        <translation>Der Schlüssel für den sicheren Chat kann nicht in %1 gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>HostMode</name>
    <message numerus="yes">
        <source>%n Friend(s) available</source>
        <translation>
            <numerusform>%n Freund da</numerusform>
            <numerusform>%n Freunde da</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Client(s) connected</source>
        <translation>
            <numerusform>%n Gast verbunden</numerusform>
            <numerusform>%n Gäste verbunden</numerusform>
        </translation>
    </message>
    <message>
        <source>Do you really want to close Conection?</source>
        <translation>Wollen Sie die Verbindung wirklich beenden?</translation>
    </message>
    <message>
        <source> : At this moment I&apos;m Host.</source>
        <translation> : Ich bin jetzt Host.</translation>
    </message>
    <message>
        <source>Host: %1 Listening on port: %2</source>
        <translation>Host: %1, wartet auf Port %2</translation>
    </message>
    <message>
        <source>%1 is Host on %2</source>
        <translation>%1 ist Host auf %2</translation>
    </message>
</context>
<context>
    <name>HostSession</name>
    <message>
        <source>New connections are refused for now: %1</source>
        <translation>Neue Verbindungen werden vorerst abgewiesen: %1</translation>
    </message>
    <message>
        <source>Connection rejected for %1: the chat is full with %2 guests</source>
        <translation>Verbindung von %1 abgelehnt: Der Chat ist mit %2 Gästen voll</translation>
    </message>
    <message>
        <source>: New guest coming from address: %1 on port %2</source>
        <translation>: Neuer Gast von der Adresse %1, Port %2</translation>
    </message>
    <message>
        <source>Connection rejected for %1</source>
        <translation>Verbindung von %1 abgelehnt</translation>
    </message>
    <message>
        <source>Connection rejected for %1: %2</source>
        <translation>Verbindung von %1 abgelehnt: %2</translation>
    </message>
    <message>
        <source>Line from %1 not relayed: it breaks a line</source>
        <translation>Zeile von %1 nicht weitergegeben: Sie enthält einen Zeilenumbruch</translation>
    </message>
    <message>
        <source>Line from %1 not relayed: it names nobody</source>
        <translation>Zeile von %1 nicht weitergegeben: Sie nennt keinen Absender</translation>
    </message>
    <message>
        <source>Line from %1 not relayed: it names %2</source>
        <translation>Zeile von %1 nicht weitergegeben: Sie gibt %2 als Absender an</translation>
    </message>
    <message>
        <source>the name %1 is taken</source>
        <translation>der Name %1 ist vergeben</translation>
    </message>
    <message>
        <source>it gave no name</source>
        <translation>es wurde kein Name genannt</translation>
    </message>
    <message>
        <source>its name is longer than %1 characters</source>
        <translation>der Name ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>its name holds a control character</source>
        <translation>der Name enthält ein Steuerzeichen</translation>
    </message>
    <message>
        <source>Connection closed for %1: %2</source>
        <translation>Verbindung von %1 beendet: %2</translation>
    </message>
    <message>
        <source>Guest by %1 on port %2 is away.</source>
        <translation>Der Gast von %1, Port %2, ist gegangen.</translation>
    </message>
    <message>
        <source>only secure guests may join</source>
        <translation>nur sichere Gäste dürfen beitreten</translation>
    </message>
</context>
<context>
    <name>MainMenus</name>
    <message>
        <source>&amp;Chat</source>
        <translation>&amp;Chat</translation>
    </message>
    <message>
        <source>I&apos;m &amp;Host</source>
        <translation>Ich bin &amp;Host</translation>
    </message>
    <message>
        <source>I&apos;m  &amp;Guest</source>
        <translation>Ich bin &amp;Gast</translation>
    </message>
    <message>
        <source>&amp;Save Chat</source>
        <translation>Chat &amp;speichern</translation>
    </message>
    <message>
        <source>Save  &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Se&amp;tup</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>Cl&amp;ose Chat</source>
        <translation>Chat sch&amp;ließen</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Fenster schließen</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>C&amp;oupon</source>
        <translation>&amp;Abteil</translation>
    </message>
    <message>
        <source>&amp;Friends</source>
        <translation>&amp;Freunde</translation>
    </message>
    <message>
        <source>&amp;Quiet</source>
        <translation>&amp;Stumm</translation>
    </message>
    <message>
        <source>&amp;Reconnect</source>
        <translation>&amp;Wieder verbinden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>I&apos;m busy</source>
        <translation>Ich bin beschäftigt</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Trying ...</source>
        <translation>Verbinde ...</translation>
    </message>
</context>
<context>
    <name>ModeLook</name>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Host is busy</source>
        <translation>Host ist beschäftigt</translation>
    </message>
    <message>
        <source>Guest</source>
        <translation>Gast</translation>
    </message>
</context>
<context>
    <name>PartFile</name>
    <message>
        <source>Not enough room in %1: %2 are needed and %3 are free.</source>
        <translation>Nicht genug Platz in %1: %2 werden gebraucht, %3 sind frei.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The part received of %1 is gone: it starts again.</source>
        <translation>Der empfangene Teil von %1 ist nicht mehr da: Es beginnt von vorn.</translation>
    </message>
    <message>
        <source>%1 did not arrive as it was sent: its SHA-256 does not match.</source>
        <translation>%1 kam nicht so an, wie es gesendet wurde: Die SHA-256-Prüfsumme stimmt nicht.</translation>
    </message>
    <message>
        <source>Cannot give %1 its name: %2</source>
        <translation>%1 kann seinen Namen nicht erhalten: %2</translation>
    </message>
</context>
<context>
    <name>PersonChooser</name>
    <message>
        <source>Private message</source>
        <translation>Private Nachricht</translation>
    </message>
    <message>
        <source>Type a name</source>
        <translation>Namen eingeben</translation>
    </message>
    <message>
        <source>Nobody else is in the chat.</source>
        <translation>Sonst ist niemand im Chat.</translation>
    </message>
</context>
<context>
    <name>PrivateChat</name>
    <message>
        <source>%1 chats in the clear, where private messages cannot go.</source>
        <translation>%1 chattet unverschlüsselt, wohin keine privaten Nachrichten gehen können.</translation>
    </message>
    <message>
        <source>%1&apos;s copy of the program cannot take private messages.</source>
        <translation>Das Programm von %1 kann keine privaten Nachrichten empfangen.</translation>
    </message>
    <message>
        <source>%1&apos;s copy of the program cannot take files.</source>
        <translation>Die Programmkopie von %1 kann keine Dateien annehmen.</translation>
    </message>
</context>
<context>
    <name>PrivateMessaging</name>
    <message>
        <source>Private &amp;message...</source>
        <translation>Private &amp;Nachricht...</translation>
    </message>
    <message>
        <source>Private message</source>
        <translation>Private Nachricht</translation>
    </message>
    <message>
        <source>Send file...</source>
        <translation>Datei senden...</translation>
    </message>
    <message>
        <source>Key...</source>
        <translation>Schlüssel...</translation>
    </message>
    <message>
        <source>%1 shows no key: %1 chats in the clear.</source>
        <translation>%1 zeigt keinen Schlüssel: %1 chattet unverschlüsselt.</translation>
    </message>
    <message>
        <source>This copy has seen this key under this name before.</source>
        <translation>Dieses Programm hat diesen Schlüssel unter diesem Namen schon gesehen.</translation>
    </message>
    <message>
        <source>This copy sees this key under this name for the first time.</source>
        <translation>Dieses Programm sieht diesen Schlüssel unter diesem Namen zum ersten Mal.</translation>
    </message>
    <message>
        <source>%1&apos;s key:

%2

%3 Compare it with the one %1&apos;s Secure chat dialog shows.</source>
        <translation>Schlüssel von %1:

%2

%3 Vergleichen Sie ihn mit dem, den der Dialog „Sicherer Chat“ bei %1 zeigt.</translation>
    </message>
    <message>
        <source>No key: chats in the clear</source>
        <translation>Kein Schlüssel: chattet unverschlüsselt</translation>
    </message>
    <message>
        <source>Known key %1</source>
        <translation>Bekannter Schlüssel %1</translation>
    </message>
    <message>
        <source>New key %1</source>
        <translation>Neuer Schlüssel %1</translation>
    </message>
    <message>
        <source>%1 is not in the chat: what you write waits, and goes when %1 is back.</source>
        <translation>%1 ist nicht im Chat: Was Sie schreiben, wartet und geht, sobald %1 zurück ist.</translation>
    </message>
    <message>
        <source>End to end: only %1&apos;s copy, the host&apos;s, can read this. %1&apos;s key %2</source>
        <translation>Ende zu Ende: Nur das Programm von %1, dem Gastgeber, kann dies lesen. Schlüssel von %1: %2</translation>
    </message>
    <message>
        <source>End to end: only %1&apos;s copy can read this, over your own secure link. %1&apos;s key %2</source>
        <translation>Ende zu Ende: Nur das Programm von %1 kann dies lesen, über Ihre eigene sichere Verbindung. Schlüssel von %1: %2</translation>
    </message>
    <message>
        <source>End to end: only %1&apos;s copy can read this; the host passes it on sealed. %1&apos;s key %2</source>
        <translation>Ende zu Ende: Nur das Programm von %1 kann dies lesen; der Gastgeber reicht es versiegelt weiter. Schlüssel von %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n unread private message(s)</source>
        <translation>
            <numerusform>%n ungelesene private Nachricht</numerusform>
            <numerusform>%n ungelesene private Nachrichten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Aufruf: %1</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[Optionen]</translation>
    </message>
</context>
<context>
    <name>RuntimeErrors</name>
    <message>
        <source>List index out of bounds (%1)</source>
        <translation>Listenindex außerhalb des gültigen Bereichs (%1)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist keine gültige ganze Zahl</translation>
    </message>
</context>
<context>
    <name>SecureChat</name>
    <message>
        <source>The host at %1:%2 is known by its key, but now it answers only in the clear.
Someone may be playing the host. If the host no longer offers secure chat, forget its key (Coupon, Secure chat...) and join again.</source>
        <translation>Der Host unter %1:%2 ist an seinem Schlüssel bekannt, antwortet jetzt aber nur unverschlüsselt.
Vielleicht gibt sich jemand als dieser Host aus. Wenn der Host keinen sicheren Chat mehr anbietet, vergessen Sie seinen Schlüssel (Abteil, Sicherer Chat...) und treten Sie erneut bei.</translation>
    </message>
    <message>
        <source>%1 of %2 secure</source>
        <translation>%1 von %2 sicher</translation>
    </message>
    <message>
        <source>Secure, host verified</source>
        <translation>Sicher, Host geprüft</translation>
    </message>
    <message>
        <source>Not secure</source>
        <translation>Nicht sicher</translation>
    </message>
    <message>
        <source>Secure guests chat over TLS 1.3. Lines sent to the other guests cross the LAN in the clear, where anyone on it can read them.</source>
        <translation>Sichere Gäste chatten über TLS 1.3. Zeilen an die übrigen Gäste gehen unverschlüsselt durchs lokale Netz, wo jeder sie lesen kann.</translation>
    </message>
    <message>
        <source>This chat crosses the LAN over TLS 1.3, with the host&apos;s key checked.</source>
        <translation>Dieser Chat geht über TLS 1.3 durchs lokale Netz, der Schlüssel des Hosts ist geprüft.</translation>
    </message>
    <message>
        <source>This chat crosses the LAN in the clear: anyone on it can read it.</source>
        <translation>Dieser Chat geht unverschlüsselt durchs lokale Netz: Jeder dort kann ihn lesen.</translation>
    </message>
    <message>
        <source>The host at %1:%2 shows another key than the one it showed before.

Expected: %3
Shown:    %4

Someone may be playing the host. If the host has made a new key, compare the new fingerprint with the one its Secure chat dialog shows, then forget the old key (Coupon, Secure chat...) in %5 and join again.</source>
        <translation>Der Host unter %1:%2 zeigt einen anderen Schlüssel als zuvor.

Erwartet: %3
Gezeigt:  %4

Vielleicht gibt sich jemand als dieser Host aus. Hat der Host einen neuen Schlüssel erzeugt, vergleichen Sie den neuen Fingerabdruck mit dem in seinem Dialog „Sicherer Chat“, vergessen Sie dann den alten Schlüssel (Abteil, Sicherer Chat...) in %5 und treten Sie erneut bei.</translation>
    </message>
    <message>
        <source>The host at %1 asks for the chat password:</source>
        <translation>Der Host unter %1 fragt nach dem Chat-Passwort:</translation>
    </message>
    <message numerus="yes">
        <source>%n refused password attempts from %1</source>
        <translation>
            <numerusform>%n abgewiesener Passwortversuch von %1</numerusform>
            <numerusform>%n abgewiesene Passwortversuche von %1</numerusform>
        </translation>
    </message>
    <message>
        <source>The key kept for the host at %1:%2 is damaged in %3 (the file as it was is kept as %4).

Someone may be playing the host. Compare the host&apos;s fingerprint with the one its Secure chat dialog shows, mend or delete the line, and join again.</source>
        <translation>Der für den Host %1:%2 gespeicherte Schlüssel ist in %3 beschädigt (die Datei, wie sie war, liegt als %4 vor).

Jemand könnte sich als Host ausgeben. Vergleichen Sie den Fingerabdruck des Hosts mit dem in seinem Dialog „Sicherer Chat“, reparieren oder löschen Sie die Zeile und treten Sie erneut bei.</translation>
    </message>
    <message>
        <source>This is the first secure chat with the host at %1:%2. It shows the key

%3

</source>
        <translation>Dies ist der erste sichere Chat mit dem Gastgeber unter %1:%2. Er zeigt den Schlüssel

%3

</translation>
    </message>
    <message>
        <source>The host proved that it knows the chat password you gave.

</source>
        <translation>Der Gastgeber hat bewiesen, dass er das Chat-Passwort kennt, das Sie eingegeben haben.

</translation>
    </message>
    <message>
        <source>Compare it with the fingerprint in the host&apos;s Secure chat dialog. Trust it?</source>
        <translation>Vergleichen Sie ihn mit dem Fingerabdruck im Dialog „Sicherer Chat“ des Gastgebers. Vertrauen?</translation>
    </message>
</context>
<context>
    <name>SecureChatDialog</name>
    <message>
        <source>Secure chat</source>
        <translation>Sicherer Chat</translation>
    </message>
    <message>
        <source>This copy&apos;s fingerprint</source>
        <translation>Fingerabdruck dieser Kopie</translation>
    </message>
    <message>
        <source>Do not offer secure chat</source>
        <translation>Keinen sicheren Chat anbieten</translation>
    </message>
    <message>
        <source>Offer secure chat beside the plain one</source>
        <translation>Sicheren Chat neben dem unverschlüsselten anbieten</translation>
    </message>
    <message>
        <source>Require secure chat of every guest</source>
        <translation>Von jedem Gast sicheren Chat verlangen</translation>
    </message>
    <message>
        <source>&amp;Join hosts securely where they offer it</source>
        <translation>Hosts &amp;sicher beitreten, wo sie es anbieten</translation>
    </message>
    <message>
        <source>Chat password</source>
        <translation>Chat-Passwort</translation>
    </message>
    <message>
        <source>&amp;Set</source>
        <translation>&amp;Festlegen</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Fingerprint</source>
        <translation>Fingerabdruck</translation>
    </message>
    <message>
        <source>Known hosts</source>
        <translation>Bekannte Hosts</translation>
    </message>
    <message>
        <source>This copy&apos;s fingerprint:</source>
        <translation>Fingerabdruck dieser Kopie:</translation>
    </message>
    <message>
        <source>When &amp;hosting:</source>
        <translation>Als &amp;Host:</translation>
    </message>
    <message>
        <source>Chat &amp;password:</source>
        <translation>Chat-&amp;Passwort:</translation>
    </message>
    <message>
        <source>Hosts known by their keys:</source>
        <translation>An ihrem Schlüssel bekannte Hosts:</translation>
    </message>
    <message>
        <source>(no key could be made)</source>
        <translation>(es konnte kein Schlüssel erzeugt werden)</translation>
    </message>
    <message>
        <source>A password is set: guests are asked for it.</source>
        <translation>Ein Passwort ist festgelegt: Gäste werden danach gefragt.</translation>
    </message>
    <message>
        <source>No password is set.</source>
        <translation>Kein Passwort festgelegt.</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Vergessen</translation>
    </message>
    <message>
        <source>Forget %1</source>
        <translation>%1 vergessen</translation>
    </message>
    <message>
        <source>Hold each guest&apos;s &amp;name for its key for 30 days</source>
        <translation>&amp;Namen jedes Gastes 30 Tage für seinen Schlüssel freihalten</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Schlüssel</translation>
    </message>
    <message>
        <source>Last seen</source>
        <translation>Zuletzt gesehen</translation>
    </message>
    <message>
        <source>Held names</source>
        <translation>Freigehaltene Namen</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>Freigeben</translation>
    </message>
    <message>
        <source>Release %1</source>
        <translation>%1 freigeben</translation>
    </message>
    <message>
        <source>&amp;Relay files between guests</source>
        <translation>Dateien zwischen Gästen &amp;weiterleiten</translation>
    </message>
    <message>
        <source> MiB</source>
        <translation> MiB</translation>
    </message>
    <message>
        <source>any size</source>
        <translation>jede Größe</translation>
    </message>
    <message>
        <source>Largest file relayed</source>
        <translation>Größte weitergeleitete Datei</translation>
    </message>
    <message>
        <source>&amp;Largest file:</source>
        <translation>&amp;Größte Datei:</translation>
    </message>
</context>
<context>
    <name>SetupChanges</name>
    <message>
        <source>Include</source>
        <translation>Zulassen</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Sperren</translation>
    </message>
    <message>
        <source>neither Include nor Exclude</source>
        <translation>weder Zulassen noch Sperren</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> und %n weitere</numerusform>
            <numerusform> und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2 → %3</source>
        <translation>%1: %2 → %3</translation>
    </message>
    <message>
        <source>Host address</source>
        <translation>Host-Adresse</translation>
    </message>
    <message>
        <source>Nickname</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Filter lines</source>
        <translation>Filterzeilen</translation>
    </message>
    <message>
        <source>%1 changes your settings:

</source>
        <translation>%1 ändert Ihre Einstellungen:

</translation>
    </message>
    <message>
        <source>

With these settings, anyone on the network can join the chat you host.</source>
        <translation>

Mit diesen Einstellungen kann jeder im Netz Ihrem Chat beitreten, wenn Sie Host sind.</translation>
    </message>
    <message>
        <source>

Nothing is kept until you press OK.</source>
        <translation>

Erst mit OK wird etwas übernommen.</translation>
    </message>
</context>
<context>
    <name>SocketErrors</name>
    <message>
        <source>The host&apos;s key was not trusted: the chat was not joined.</source>
        <translation>Dem Schlüssel des Hosts wurde nicht vertraut: Dem Chat wurde nicht beigetreten.</translation>
    </message>
    <message>
        <source>The host asks for a chat password, and none was given.</source>
        <translation>Der Host verlangt ein Chat-Passwort, und es wurde keines angegeben.</translation>
    </message>
    <message>
        <source>The host refused the chat password.</source>
        <translation>Der Host hat das Chat-Passwort abgelehnt.</translation>
    </message>
    <message>
        <source>Interrupted system call</source>
        <translation>Systemaufruf unterbrochen</translation>
    </message>
    <message>
        <source>Bad file number</source>
        <translation>Ungültige Dateinummer</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Bad address</source>
        <translation>Ungültige Adresse</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>Ungültiges Argument</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Zu viele offene Dateien</translation>
    </message>
    <message>
        <source>Operation would block</source>
        <translation>Der Vorgang würde blockieren</translation>
    </message>
    <message>
        <source>Operation now in progress</source>
        <translation>Der Vorgang läuft gerade</translation>
    </message>
    <message>
        <source>Operation already in progress</source>
        <translation>Der Vorgang läuft bereits</translation>
    </message>
    <message>
        <source>Socket operation on nonsocket</source>
        <translation>Socket-Operation auf einem Nicht-Socket</translation>
    </message>
    <message>
        <source>Destination address required</source>
        <translation>Zieladresse erforderlich</translation>
    </message>
    <message>
        <source>Message too long</source>
        <translation>Nachricht zu lang</translation>
    </message>
    <message>
        <source>Protocol wrong type for socket</source>
        <translation>Falscher Protokolltyp für den Socket</translation>
    </message>
    <message>
        <source>Protocol not available</source>
        <translation>Protokoll nicht verfügbar</translation>
    </message>
    <message>
        <source>Protocol not supported</source>
        <translation>Protokoll nicht unterstützt</translation>
    </message>
    <message>
        <source>Socket not supported</source>
        <translation>Socket-Typ nicht unterstützt</translation>
    </message>
    <message>
        <source>Operation not supported on socket</source>
        <translation>Vorgang auf diesem Socket nicht unterstützt</translation>
    </message>
    <message>
        <source>Protocol family not supported</source>
        <translation>Protokollfamilie nicht unterstützt</translation>
    </message>
    <message>
        <source>Address family not supported</source>
        <translation>Adressfamilie nicht unterstützt</translation>
    </message>
    <message>
        <source>Address already in use</source>
        <translation>Adresse wird bereits verwendet</translation>
    </message>
    <message>
        <source>Can&apos;t assign requested address</source>
        <translation>Die gewünschte Adresse kann nicht zugewiesen werden</translation>
    </message>
    <message>
        <source>Network is down</source>
        <translation>Das Netz ist ausgefallen</translation>
    </message>
    <message>
        <source>Network is unreachable</source>
        <translation>Das Netz ist nicht erreichbar</translation>
    </message>
    <message>
        <source>Network dropped connection on reset</source>
        <translation>Das Netz hat die Verbindung beim Zurücksetzen getrennt</translation>
    </message>
    <message>
        <source>Software caused connection abort</source>
        <translation>Verbindungsabbruch durch Software</translation>
    </message>
    <message>
        <source>Connection reset by peer</source>
        <translation>Verbindung von der Gegenseite zurückgesetzt</translation>
    </message>
    <message>
        <source>No buffer space available</source>
        <translation>Kein Pufferspeicher verfügbar</translation>
    </message>
    <message>
        <source>Socket is already connected</source>
        <translation>Der Socket ist bereits verbunden</translation>
    </message>
    <message>
        <source>Socket is not connected</source>
        <translation>Der Socket ist nicht verbunden</translation>
    </message>
    <message>
        <source>Can&apos;t send after socket shutdown</source>
        <translation>Nach dem Schließen des Sockets kann nichts gesendet werden</translation>
    </message>
    <message>
        <source>Too many references:can&apos;t splice</source>
        <translation>Zu viele Verweise: Verbinden nicht möglich</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Zeitüberschreitung der Verbindung</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Zu viele Ebenen symbolischer Verweise</translation>
    </message>
    <message>
        <source>File name is too long</source>
        <translation>Der Dateiname ist zu lang</translation>
    </message>
    <message>
        <source>Host is down</source>
        <translation>Der Host ist ausgefallen</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>Keine Route zum Host</translation>
    </message>
    <message>
        <source>Directory is not empty</source>
        <translation>Das Verzeichnis ist nicht leer</translation>
    </message>
    <message>
        <source>Too many processes</source>
        <translation>Zu viele Prozesse</translation>
    </message>
    <message>
        <source>Too many users</source>
        <translation>Zu viele Benutzer</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Festplattenkontingent überschritten</translation>
    </message>
    <message>
        <source>Stale NFS file handle</source>
        <translation>Veraltetes NFS-Datei-Handle</translation>
    </message>
    <message>
        <source>Too many levels of remote in path</source>
        <translation>Zu viele entfernte Ebenen im Pfad</translation>
    </message>
    <message>
        <source>Network subsystem is unusable</source>
        <translation>Das Netz-Subsystem ist nicht nutzbar</translation>
    </message>
    <message>
        <source>Winsock DLL cannot support this application</source>
        <translation>Die Winsock-DLL unterstützt diese Anwendung nicht</translation>
    </message>
    <message>
        <source>Winsock not initialized</source>
        <translation>Winsock ist nicht initialisiert</translation>
    </message>
    <message>
        <source>Host not found</source>
        <translation>Host nicht gefunden</translation>
    </message>
    <message>
        <source>Non authoritative - host not found</source>
        <translation>Nicht autoritativ – Host nicht gefunden</translation>
    </message>
    <message>
        <source>Non recoverable error</source>
        <translation>Nicht behebbarer Fehler</translation>
    </message>
    <message>
        <source>Valid name, no data record of requested type</source>
        <translation>Gültiger Name, aber kein Eintrag des gewünschten Typs</translation>
    </message>
    <message>
        <source>Not a Winsock error</source>
        <translation>Kein Winsock-Fehler</translation>
    </message>
    <message>
        <source>The host waited five minutes for the key to be trusted and the password given, and gave up. Join again.</source>
        <translation>Der Host hat fünf Minuten gewartet, bis dem Schlüssel vertraut und das Passwort eingegeben wurde, und dann aufgegeben. Treten Sie erneut bei.</translation>
    </message>
    <message>
        <source>The host could not prove that it knows the chat password: it may not be the host it claims to be.</source>
        <translation>Der Host konnte nicht beweisen, dass er das Chat-Passwort kennt: Er ist vielleicht nicht der Host, der er zu sein vorgibt.</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Vanu Server&amp;Client</source>
        <translation>Vanu Server&amp;Client</translation>
    </message>
    <message>
        <source>Version: 3.1</source>
        <translation>Version: 3.1</translation>
    </message>
    <message>
        <source>This is a multi-user chat. To use it best, run it on more than one PC with at least one copy in server mode. Then connect all of the other copies to that server&apos;s address. You will then be able to chat to each other much like IRC.</source>
        <translation>Ein Chat für viele: Starten Sie ihn auf mehreren PCs, mindestens eine Kopie als Server, und verbinden Sie alle anderen mit dessen Adresse. Dann chatten Sie miteinander, fast wie im IRC.</translation>
    </message>
    <message>
        <source>Mail me at:</source>
        <translation>Schreiben Sie an:</translation>
    </message>
    <message>
        <source>or</source>
        <translation>oder</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Mail to %1</source>
        <translation>Mail an %1</translation>
    </message>
</context>
<context>
    <name>TCustomWSocket</name>
    <message>
        <source>Berkeley sockets on %1</source>
        <translation>Berkeley-Sockets unter %1</translation>
    </message>
    <message>
        <source>Running</source>
        <translation>In Betrieb</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source> Vanu Server&amp;Client  by the Vanu developers, 2026</source>
        <translation> Vanu Server&amp;Client  von den Vanu-Entwicklern, 2026</translation>
    </message>
    <message>
        <source> WinSocket Version: </source>
        <translation> WinSocket-Version: </translation>
    </message>
    <message>
        <source> Description: </source>
        <translation> Beschreibung: </translation>
    </message>
    <message>
        <source> SystemStatus: </source>
        <translation> Systemstatus: </translation>
    </message>
    <message>
        <source> Local Host Name: </source>
        <translation> Name dieses Rechners: </translation>
    </message>
    <message>
        <source> Local Host Address: </source>
        <translation> Adresse dieses Rechners: </translation>
    </message>
    <message>
        <source>Do you want to stop tray?</source>
        <translation>Wollen Sie den Verbindungsversuch abbrechen?</translation>
    </message>
    <message>
        <source>Close the Chat?</source>
        <translation>Den Chat schließen?</translation>
    </message>
    <message>
        <source>Friends</source>
        <translation>Freunde</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>TForm8</name>
    <message>
        <source>You really must enter<byte value="xd"/>Nickname and Host address</source>
        <translation>Bitte geben Sie<byte value="xd"/>Ihren Namen und die Host-Adresse ein</translation>
    </message>
    <message>
        <source>Setup Configuration</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Host Address</source>
        <translation>Host-Adresse</translation>
    </message>
    <message>
        <source>Port def.</source>
        <translation>Std.-Port</translation>
    </message>
    <message>
        <source>Your Name</source>
        <translation>Ihr Name</translation>
    </message>
    <message>
        <source>Your Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>    Personally    </source>
        <translation>  Persönlich  </translation>
    </message>
    <message>
        <source>Permission to Server (FireWall)</source>
        <translation>Zugang zum Server (Filter)</translation>
    </message>
    <message>
        <source>filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Zulassen</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Sperren</translation>
    </message>
    <message>
        <source>    SetServer    </source>
        <translation>    Server    </translation>
    </message>
    <message>
        <source>%1 also covers %2</source>
        <translation>%1 gilt auch für %2</translation>
    </message>
    <message numerus="yes">
        <source>%1 (+%n more)</source>
        <translation>
            <numerusform>%1 (+%n weitere)</numerusform>
            <numerusform>%1 (+%n weitere)</numerusform>
        </translation>
    </message>
    <message>
        <source>A filter line stands for every address that begins with it.</source>
        <translation>Eine Filterzeile steht für jede Adresse, die mit ihr beginnt.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Die Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>File %1 is too large for a setup file</source>
        <translation>Die Datei %1 ist für eine Einstellungsdatei zu groß</translation>
    </message>
    <message>
        <source>These characters cannot be written to a setup file and become &quot;?&quot;: %1<byte value="xd"/>Save all the same?</source>
        <translation>Diese Zeichen lassen sich nicht in eine Einstellungsdatei schreiben und werden zu „?“: %1<byte value="xd"/>Trotzdem speichern?</translation>
    </message>
    <message>
        <source>This collor is not valid</source>
        <translation>Diese Farbe ist ungültig</translation>
    </message>
    <message>
        <source>I cannot save settings!</source>
        <translation>Die Einstellungen können nicht gespeichert werden!</translation>
    </message>
    <message>
        <source>Text files (*.set)|*.set</source>
        <translation>Einstellungsdateien (*.set)|*.set</translation>
    </message>
    <message>
        <source>Save Setup</source>
        <translation>Einstellungen speichern</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Die Datei %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Open Setup</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Host address</source>
        <translation>Host-Adresse</translation>
    </message>
    <message>
        <source>The address of the host to join as a guest</source>
        <translation>Die Adresse des Hosts, dem Sie als Gast beitreten</translation>
    </message>
    <message>
        <source>Default port</source>
        <translation>Standard-Port</translation>
    </message>
    <message>
        <source>When unchecked, the port field below can be changed</source>
        <translation>Ohne Haken lässt sich der Port darunter ändern</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Ihr Name</translation>
    </message>
    <message>
        <source>Your colour</source>
        <translation>Ihre Farbe</translation>
    </message>
    <message>
        <source>Load a setup file</source>
        <translation>Eine Einstellungsdatei laden</translation>
    </message>
    <message>
        <source>Save a setup file</source>
        <translation>Eine Einstellungsdatei speichern</translation>
    </message>
    <message>
        <source>Filter lines</source>
        <translation>Filterzeilen</translation>
    </message>
    <message>
        <source>One address, or the beginning of addresses, a line; Tab leaves the box</source>
        <translation>Eine Adresse oder ein Adressanfang je Zeile; Tab verlässt das Feld</translation>
    </message>
    <message>
        <source>Filter note</source>
        <translation>Hinweis zum Filter</translation>
    </message>
    <message>
        <source>Filter mode</source>
        <translation>Filterart</translation>
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
        <translation>Danke, dass Sie sich für Vanu entschieden
haben.

Vanu

Damit Sie und Ihre Freunde einander finden,
muss eine Kopie als Server auf einem PC mit
fester IP-Adresse laufen. Vanu ist für einen
sauberen, sicheren Chat gemacht: Es überträgt
nur Text. Niemand kommt an Ihren PC heran, den
Sie nicht anhand seiner IP-Adresse zugelassen
haben. Tragen Sie dazu die IP-Adressen unter
Chat\Einstellungen in die Liste ein und wählen
Sie „Zulassen“ oder, für unerwünschte Gäste,
„Sperren“. Dort wählen Sie auch Ihren Namen
und Ihre Textfarbe, und Sie können die
Einstellungen in einer Datei speichern. Ein
Filter kann ganze Netze erfassen: Er steht für
jede Adresse, die mit ihm beginnt. Bei jedem
Start liest das Programm die Einstellungen aus
der Datei „LastSetup.set“. Wenn Sie als Server
Ruhe vor neuen Gästen brauchen, wählen Sie im
Menü des Tray-Symbols „Ich bin beschäftigt“.
Den Chat speichern Sie mit Chat\Chat speichern
in „DirChat(n).txt“ oder mit „Speichern
unter...“ unter einem Namen Ihrer Wahl. Sie
können auch Einstellungsdateien anlegen und
sie Freunden schicken, die Vanu haben.
Rechnernamen statt Adressen setzen ein
funktionierendes DNS voraus. Nehmen Sie sonst
nur IP-Adressen, also 127.0.0.1 statt
localhost. Viel Spaß im Abteil!</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TfFriends</name>
    <message>
        <source>Friends</source>
        <translation>Freunde</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Participants</source>
        <translation>Teilnehmer</translation>
    </message>
    <message>
        <source>Everybody in the chat</source>
        <translation>Alle im Chat</translation>
    </message>
</context>
<context>
    <name>Transcript</name>
    <message>
        <source>Text files (*.txt)|*.txt|All files (*.*)|*.*</source>
        <translation>Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Text, UTF-8 (*.txt)|*.txt</source>
        <translation>Text, UTF-8 (*.txt)|*.txt</translation>
    </message>
</context>
<context>
    <name>TranscriptSaving</name>
    <message>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Die Datei %1 kann nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>Transfer</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The other copy sent what no copy sends.</source>
        <translation>Das andere Programm hat gesendet, was kein Programm sendet.</translation>
    </message>
    <message>
        <source>Declined: %1</source>
        <translation>Abgelehnt: %1</translation>
    </message>
    <message>
        <source>A block of %1 failed its check three times.</source>
        <translation>Ein Block von %1 hat die Prüfung dreimal nicht bestanden.</translation>
    </message>
    <message>
        <source>%1 changed since it was offered: the transfer ends.</source>
        <translation>%1 hat sich seit dem Angebot geändert: Die Übertragung endet.</translation>
    </message>
    <message>
        <source>Cannot make the folder for %1.</source>
        <translation>Der Ordner für %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>More than %1 files: send fewer at a time.</source>
        <translation>Mehr als %1 Dateien: senden Sie weniger auf einmal.</translation>
    </message>
    <message>
        <source>There is no file to send.</source>
        <translation>Es gibt keine Datei zu senden.</translation>
    </message>
    <message>
        <source>The files sent are not the ones offered.</source>
        <translation>Die gesendeten Dateien sind nicht die angebotenen.</translation>
    </message>
    <message>
        <source>Cannot write %1: the disk is full.</source>
        <translation>%1 kann nicht geschrieben werden: der Datenträger ist voll.</translation>
    </message>
</context>
<context>
    <name>TransferCard</name>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>Waiting for %1 to answer.</source>
        <translation>Warten auf die Antwort von %1.</translation>
    </message>
    <message>
        <source>Waiting for your answer.</source>
        <translation>Wartet auf Ihre Antwort.</translation>
    </message>
    <message>
        <source>Paused.</source>
        <translation>Angehalten.</translation>
    </message>
    <message>
        <source>Sent: %1 has it, checked.</source>
        <translation>Gesendet: %1 hat sie, geprüft.</translation>
    </message>
    <message>
        <source>Arrived, checked: %1</source>
        <translation>Angekommen, geprüft: %1</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Gescheitert: %1</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>%1/s</source>
        <translation>%1/s</translation>
    </message>
    <message numerus="yes">
        <source>%n s left</source>
        <translation>
            <numerusform>noch %n s</numerusform>
            <numerusform>noch %n s</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n min left</source>
        <translation>
            <numerusform>noch %n min</numerusform>
            <numerusform>noch %n min</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n h left</source>
        <translation>
            <numerusform>noch %n h</numerusform>
            <numerusform>noch %n h</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Accept</source>
        <translation>&amp;Annehmen</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>&amp;Speichern unter...</translation>
    </message>
    <message>
        <source>&amp;Decline</source>
        <translation>A&amp;blehnen</translation>
    </message>
    <message>
        <source>Al&amp;ways accept from this person</source>
        <translation>&amp;Immer von dieser Person annehmen</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Ab&amp;brechen</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Show in fo&amp;lder</source>
        <translation>Im &amp;Ordner zeigen</translation>
    </message>
    <message>
        <source>To %1: %2: %3</source>
        <translation>An %1: %2: %3</translation>
    </message>
    <message>
        <source>%1 (key known) offers %2: %3</source>
        <translation>%1 (Schlüssel bekannt) bietet %2 an: %3</translation>
    </message>
    <message>
        <source>%1 (key new to you) offers %2: %3</source>
        <translation>%1 (Schlüssel neu für Sie) bietet %2 an: %3</translation>
    </message>
    <message>
        <source>Progress of %1</source>
        <translation>Fortschritt von %1</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
</context>
<context>
    <name>TransfersWindow</name>
    <message>
        <source>Transfers</source>
        <translation>Übertragungen</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>With</source>
        <translation>Mit</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Time left</source>
        <translation>Restzeit</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Stand</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Ab&amp;brechen</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Show in fo&amp;lder</source>
        <translation>Im &amp;Ordner zeigen</translation>
    </message>
    <message>
        <source>Progress of %1</source>
        <translation>Fortschritt von %1</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
</context>
<context>
    <name>VanuProgram</name>
    <message>
        <source>History paused</source>
        <translation>Verlauf angehalten</translation>
    </message>
    <message>
        <source>The chat history is paused: %1
The chat goes on.</source>
        <translation>Der Chatverlauf ist angehalten: %1
Der Chat geht weiter.</translation>
    </message>
    <message>
        <source>The chat history was damaged. It is kept as %1, and a new history has begun.</source>
        <translation>Der Chatverlauf war beschädigt. Er liegt nun unter %1, und ein neuer Verlauf hat begonnen.</translation>
    </message>
    <message>
        <source>H&amp;istory...</source>
        <translation>&amp;Verlauf...</translation>
    </message>
    <message>
        <source>&amp;Secure chat...</source>
        <translation>S&amp;icherer Chat...</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Die Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>The chat history has reached its largest size: its oldest chats were deleted to make room.
Coupon, Largest history sets the size.</source>
        <translation>Der Chatverlauf hat seine maximale Größe erreicht: Seine ältesten Chats wurden gelöscht, um Platz zu schaffen.
Coupon, Maximale Verlaufsgröße legt die Größe fest.</translation>
    </message>
    <message>
        <source>Files relayed</source>
        <translation>Weitergeleitete Dateien</translation>
    </message>
    <message numerus="yes">
        <source>Relaying %n file transfer(s), %1 in all</source>
        <translation>
            <numerusform>Leitet %n Dateiübertragung weiter, insgesamt %1</numerusform>
            <numerusform>Leitet %n Dateiübertragungen weiter, insgesamt %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Files go only in secure chat, which is off here.</source>
        <translation>Dateien gehen nur im sicheren Chat, der hier aus ist.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Vanu is a desktop program: start it in a desktop session (no display was found).
</source>
        <translation>Vanu ist ein Desktop-Programm: Starten Sie es in einer Desktop-Sitzung (es wurde keine Anzeige gefunden).
</translation>
    </message>
</context>
</TS>
