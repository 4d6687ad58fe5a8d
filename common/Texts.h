#pragma once
// Every text the user reads, in one place: the windows, the boxes and the failure
// messages. The tests state a text by naming it here, so a changed text is changed once.
// Portable: no windows.h.
#include "common/Decimal.h"

#include <cstddef>
#include <string>

namespace texts {

// Windows and boxes.
inline constexpr wchar_t kAppTitle[] = L"Tolvaring";
inline constexpr wchar_t kStatus[] = L"Externe Ip wird ermittelt...";
inline constexpr wchar_t kQuestion[] =
    L"Es konnte keine IpAdresse ermittelt werden. Wollen Sie die Website \u00E4ndern?";
// The page showed something, but nothing a peer could reach: `reason` is one of the four
// below.
inline std::wstring PageShowed(const std::wstring& quotedPage, const std::wstring& quotedText) {
    return L"Die Seite " + quotedPage + L" zeigt als IP-Adresse " + quotedText + L". ";
}
// The configured page, and the one a redirect led to, which showed the address.
inline std::wstring RedirectedPage(const std::wstring& quotedPage,
                                   const std::wstring& quotedTarget) {
    return quotedPage + L" (weitergeleitet zu " + quotedTarget + L")";
}
inline std::wstring AddressRefused(const std::wstring& quotedPage, const std::wstring& quotedText,
                                   const wchar_t* reason) {
    return PageShowed(quotedPage, quotedText) + reason +
           L" Tolvaring gibt sie deshalb nicht an BearShare weiter.\r\n\r\nWollen Sie die "
           L"Website \u00E4ndern?";
}
inline constexpr wchar_t kOwnNetwork[] =
    L"Das ist eine Adresse Ihres eigenen Netzwerks oder dieses Computers, nicht die Adresse, "
    L"unter der das Internet Ihren Anschluss sieht.";
inline constexpr wchar_t kSharedNetwork[] =
    L"Das ist eine Adresse aus dem gemeinsam genutzten Netz Ihres Internetanbieters, nicht die "
    L"Adresse, unter der das Internet Ihren Anschluss sieht.";
inline constexpr wchar_t kNoValidAddress[] =
    L"Das ist keine g\u00FCltige Adresse eines Computers im Internet.";
inline constexpr wchar_t kLeadingZeros[] =
    L"Die Adresse ist mit f\u00FChrenden Nullen geschrieben (etwa 084 statt 84). Programme "
    L"lesen eine solche Adresse verschieden, manche als eine ganz andere Adresse.";
// The router's address inside a DS-Lite tunnel: another page would not help, since every
// page outside shows the provider's shared address, which peers cannot reach either.
inline constexpr wchar_t kDsLiteReason[] =
    L"Diese Adresse bekommt Ihr Router bei DS-Lite im Tunnel zu Ihrem Internetanbieter: Ihr "
    L"Anschluss hat keine eigene \u00F6ffentliche IPv4-Adresse.";
// The way out where the line has no public IPv4 address: BearShare without a forced
// address finds one itself, as good as any on such a line.
inline constexpr wchar_t kStartWithoutAddress[] =
    L"\r\n\r\nSoll Tolvaring BearShare jetzt ohne feste Adresse starten? BearShare ermittelt "
    L"seine Adresse dann selbst (Tolvaring schreibt bForcedIP=No in FreePeers.ini).";
inline std::wstring AskForPublicAddress(bool dsLite) {
    return std::wstring(L"\r\n\r\nAbhilfe: Bitten Sie Ihren Internetanbieter um eine eigene "
                        L"\u00F6ffentliche IPv4-Adresse") +
           (dsLite ? L", bei DS-Lite also um einen Anschluss mit \u201EDual Stack\u201C statt "
                     L"DS-Lite."
                   : L".");
}
inline std::wstring DsLiteAddress(const std::wstring& quotedPage, const std::wstring& quotedText) {
    return PageShowed(quotedPage, quotedText) + kDsLiteReason +
           L" Andere BearShare-Nutzer k\u00F6nnen BearShare deshalb \u00FCber IPv4 nicht "
           L"erreichen, ganz gleich, welche Webseite Tolvaring fragt. Tolvaring gibt die Adresse "
           L"nicht an BearShare weiter." +
           AskForPublicAddress(true) + kStartWithoutAddress;
}
// What the router answered over UPnP, and what it means beside the page's address.
inline constexpr wchar_t kRouterNoAnswer[] =
    L"Der Router hat \u00FCber UPnP keine Antwort gegeben.";
inline constexpr wchar_t kRouterSameAddress[] =
    L"Der Router meldet dieselbe Adresse als seine \u00F6ffentliche IPv4-Adresse.";
inline std::wstring RouterAnswered(const std::wstring& quotedAnswer) {
    return L"Der Router meldet " + quotedAnswer + L".";
}
inline std::wstring RouterAddressOnPage(const std::wstring& quotedAnswer) {
    return L"Der Router meldet als seine \u00F6ffentliche IPv4-Adresse " + quotedAnswer +
           L", die auch auf der Seite steht: Die erste Adresse der Seite ist die eines anderen, "
           L"etwa eines Servers oder Proxys.";
}
inline std::wstring RouterOtherPublic(const std::wstring& quotedAnswer) {
    return L"Der Router meldet als seine \u00F6ffentliche IPv4-Adresse " + quotedAnswer +
           L", eine andere als die Seite: Zwischen diesem Computer und der Seite liegt wohl ein "
           L"Proxy oder ein VPN. Es z\u00E4hlt die Adresse der Seite.";
}
inline std::wstring RouterSecondRouter(const std::wstring& quotedAnswer) {
    return L"Der Router meldet " + quotedAnswer +
           L", eine Adresse eines privaten Netzes: Vor ihm steht ein zweiter Router. Andere "
           L"BearShare-Nutzer erreichen BearShare nur, wenn der Port auf beiden Routern "
           L"weitergeleitet ist.";
}
inline constexpr wchar_t kSharedWithOthers[] =
    L" Die Adresse der Seite teilt sich Ihr Anschluss mit anderen Kunden des Anbieters.";
inline std::wstring RouterShared(const std::wstring& quotedAnswer) {
    return L"Der Router meldet " + quotedAnswer +
           L", eine Adresse aus dem gemeinsam genutzten Netz Ihres Internetanbieters "
           L"(Carrier-Grade-NAT)." +
           kSharedWithOthers;
}
inline std::wstring RouterDsLite(const std::wstring& quotedAnswer) {
    return L"Der Router meldet " + quotedAnswer +
           L", die Adresse seines DS-Lite-Tunnels zu Ihrem Internetanbieter." + kSharedWithOthers;
}
// The router's answer was empty, or 0.0.0.0 (`quotedZero`, else empty).
inline std::wstring RouterNoPublic(const std::wstring& quotedZero) {
    return L"Der Router meldet keine \u00F6ffentliche IPv4-Adresse (" +
           (quotedZero.empty() ? std::wstring(L"seine Antwort ist leer")
                               : L"er antwortet " + quotedZero) +
           L"): So antworten Router bei DS-Lite und bei Carrier-Grade-NAT." + kSharedWithOthers;
}
inline constexpr wchar_t kNoPublicLine[] =
    L"Ihr Anschluss hat keine eigene \u00F6ffentliche IPv4-Adresse.";
// The router says the line has no public IPv4 address: `routerSays` is one of the three
// above.
inline std::wstring NoPublicLine(const std::wstring& quotedPage, const std::wstring& quotedText,
                                 const std::wstring& routerSays, bool dsLite) {
    return PageShowed(quotedPage, quotedText) + routerSays + L" " + kNoPublicLine +
           L" Andere BearShare-Nutzer k\u00F6nnen BearShare \u00FCber " + quotedText +
           L" nicht erreichen. Tolvaring gibt die Adresse deshalb nicht an BearShare weiter." +
           AskForPublicAddress(dsLite) + kStartWithoutAddress;
}
// The check start's box: what the page showed, whether Tolvaring would hand it on, the file
// BearShare would read and why, and that nothing was changed.
inline std::wstring NoAddressShown(const std::wstring& quotedPage) {
    return L"Die Seite " + quotedPage +
           L" zeigt keine IP-Adresse. Tolvaring w\u00FCrde BearShare deshalb nichts "
           L"weitergeben.";
}
inline constexpr wchar_t kWouldHandOn[] = L"Tolvaring w\u00FCrde sie an BearShare weitergeben.";
inline std::wstring WouldHandOnRouters(const std::wstring& quotedAddress) {
    return L"Tolvaring w\u00FCrde deshalb " + quotedAddress + L" an BearShare weitergeben.";
}
// The address would be handed on, but the file BearShare reads could not be written:
// `failure` is what a normal start says then.
inline std::wstring WouldNotWrite(const std::wstring& failure) {
    return L"Tolvaring k\u00F6nnte sie aber nicht an BearShare weitergeben. Ein normaler "
           L"Start meldet:\r\n" +
           failure;
}
inline std::wstring WouldNotHandOn(const wchar_t* reason) {
    return std::wstring(reason) +
           L" Tolvaring w\u00FCrde sie deshalb nicht an BearShare weitergeben.";
}
// `quotedForcedIP` is empty when the file holds no forcedIP.
inline std::wstring ClientReads(const std::wstring& quotedFile, const wchar_t* why,
                                const std::wstring& quotedForcedIP) {
    return L"\r\n\r\nBearShare liest beim Start die Datei " + quotedFile + L". " + why +
           (quotedForcedIP.empty() ? std::wstring(L" Darin steht noch kein forcedIP.")
                                   : L" Darin steht jetzt forcedIP " + quotedForcedIP + L".") +
           L"\r\n\r\nGe\u00E4ndert wurde nichts: Tolvaring hat keine Datei geschrieben und "
           L"BearShare nicht gestartet.";
}
inline constexpr wchar_t kReadsCopy[] =
    L"Windows leitet BearShare dorthin um: BearShare l\u00E4uft ohne Administratorrechte aus "
    L"einem gesch\u00FCtzten Ordner, und Windows hat ihm diese Kopie unter VirtualStore "
    L"angelegt.";
inline constexpr wchar_t kReadsRealElevated[] =
    L"BearShare verlangt Administratorrechte und liest deshalb die Datei in seinem Ordner.";
inline constexpr wchar_t kReadsRealWeAreElevated[] =
    L"Windows leitet BearShare nicht um: Tolvaring l\u00E4uft als Administrator, und so "
    L"startet auch BearShare.";
inline constexpr wchar_t kReadsRealUacOff[] =
    L"Windows leitet BearShare nicht um: Die Benutzerkontensteuerung ist ausgeschaltet.";
inline constexpr wchar_t kReadsRealClientNotVirtualized[] =
    L"Windows leitet BearShare nicht um: BearShare bringt ein eigenes Manifest mit (oder ist "
    L"ein 64-Bit-Programm).";
inline constexpr wchar_t kReadsRealNotProtected[] =
    L"Der Ordner von BearShare ist kein gesch\u00FCtzter Ordner wie \u201EProgramme\u201C, "
    L"also leitet Windows nichts um.";
inline constexpr wchar_t kReadsRealNoCopyYet[] =
    L"Windows w\u00FCrde BearShare in eine Kopie unter VirtualStore umleiten, sobald es dort "
    L"eine gibt; noch gibt es keine.";
// An argument that looks like a switch but is none of Tolvaring's.
inline std::wstring UnknownSwitch(const std::wstring& quotedArgument) {
    return L"Tolvaring kennt den Schalter " + quotedArgument +
           L" nicht und hat deshalb nichts getan.\r\n\r\nTolvaring kennt diese "
           L"Schalter:\r\n/einstellungen (oder /setup): das Setup \u00F6ffnen\r\n/pruefen (oder "
           L"/pr\u00FCfen, /check): pr\u00FCfen, welche Adresse die Seite zeigt, ohne etwas zu "
           L"\u00E4ndern\r\nOhne Schalter ermittelt Tolvaring die Adresse, gibt sie an "
           L"BearShare weiter und startet BearShare.";
}
inline constexpr wchar_t kSetupCaption[] = L"Tolvaring? - Setup";
inline constexpr wchar_t kFrameBearShare[] = L"BearShare";
inline constexpr wchar_t kFrameGeneral[] = L"Allgemein";
inline constexpr wchar_t kPromptFolder[] = L"Bitte w\u00E4hlen Sie das BearShareverzeichnis aus:";
inline constexpr wchar_t kPromptUrl[] =
    L"Geben Sie hier die Adresse (URL) eine Website an, welche ihre IP anzeigt:";
inline constexpr wchar_t kOkay[] = L"&OK";
inline constexpr wchar_t kCancel[] = L"&Abbrechen";
inline constexpr wchar_t kCopyrightTitle[] = L"TolvaringSettings - Information";
inline constexpr wchar_t kCopyright[] = L"-- clsRegistry --\r\n"
                                        L"\r\n"
                                        L" Version:    1.0\r\n"
                                        L"\r\n"
                                        L"Einstellungen in der Registry lesen, schreiben und "
                                        L"l\u00F6schen. Frei verwendbar in eigenen Programmen.\r\n"
                                        L"\r\n"
                                        L"Harlund, Tolvaring-Team";

// Failures that end the program. `quoted` arguments come from Quote().
inline constexpr wchar_t kUnexpected[] = L"Ein unerwarteter Fehler ist aufgetreten.";
inline std::wstring WindowFailed(const wchar_t* which, const std::wstring& reason) {
    return std::wstring(which) + L" konnte nicht ge\u00F6ffnet werden.\r\n" + reason;
}
inline constexpr wchar_t kStatusWindow[] = L"Das Statusfenster";
inline constexpr wchar_t kSetupWindow[] = L"Das Setup-Fenster";
// A function of Windows that a delay-loaded system DLL lacks, or the DLL itself.
inline std::wstring SystemFunctionMissing(const std::wstring& quotedFunction,
                                          const std::wstring& quotedDll,
                                          const std::wstring& reason) {
    return L"Tolvaring konnte die Funktion " + quotedFunction + L" aus der Windows-Datei " +
           quotedDll + L" nicht laden.\r\n" + reason +
           L"\r\n\r\nTolvaring braucht Windows 7 SP1 oder neuer und wird jetzt beendet.";
}
inline std::wstring PageFailed(const std::wstring& quotedUrl, const std::wstring& reason) {
    return L"Die Seite " + quotedUrl + L" konnte nicht geladen werden.\r\n" + reason;
}
inline std::wstring FileNotWritten(const std::wstring& quotedFile, const std::wstring& reason) {
    return L"Die Datei " + quotedFile + L" konnte nicht geschrieben werden.\r\n" + reason;
}
// A client that runs as administrator reads the real file, which only an administrator may
// change. Windows may start it so for several reasons: the compatibility setting of the
// user or of all users, the client's own manifest, or the compatibility database.
inline std::wstring ElevatedClientDenied(const std::wstring& quotedFile) {
    return L"Die Datei " + quotedFile +
           L" konnte nicht geschrieben werden: Windows startet BearShare mit "
           L"Administratorrechten, und dann liest BearShare nur diese Datei, die Tolvaring "
           L"ohne Administratorrechte nicht \u00E4ndern darf.\r\nStarten Sie Tolvaring "
           L"ebenfalls als Administrator (Rechtsklick, \u201EAls Administrator ausf\u00FChren"
           L"\u201C). Oder sorgen Sie daf\u00FCr, dass BearShare ohne Administratorrechte "
           L"startet: Verlangen kann sie das H\u00E4kchen \u201EAls Administrator ausf\u00FChren"
           L"\u201C in den Eigenschaften von BearShare.exe (Kompatibilit\u00E4t, auch unter "
           L"\u201EEinstellungen f\u00FCr alle Benutzer \u00E4ndern\u201C), eine "
           L"Kompatibilit\u00E4tseinstellung von Windows oder BearShare selbst.";
}
inline constexpr wchar_t kIsAFolder[] = L"Unter diesem Namen steht ein Ordner.";
inline std::wstring ProgramNotStarted(const std::wstring& quotedPath, const std::wstring& reason) {
    return L"Das Programm " + quotedPath + L" konnte nicht gestartet werden.\r\n" + reason;
}
inline std::wstring ClientMissing(const std::wstring& quotedPath) {
    return L"Das Programm " + quotedPath + L" wurde nicht gefunden.";
}
// A failure about the client's folder, and the way out of it.
inline constexpr wchar_t kChangeFolder[] =
    L"M\u00F6chten Sie das BearShare-Verzeichnis jetzt \u00E4ndern?";
inline std::wstring OfferingToChangeFolder(const std::wstring& failure) {
    return failure + L"\r\n\r\n" + kChangeFolder;
}
inline std::wstring SettingNotExact(const std::wstring& name, const std::wstring& quotedValue) {
    return L"Die Einstellung \u201E" + name + L"\u201C (" + quotedValue +
           L") enth\u00E4lt Zeichen, die Windows hier nicht unver\u00E4ndert weitergeben kann. "
           L"Bitte w\u00E4hlen Sie im Setup einen anderen Wert.";
}
// The limit of the profile and process calls, as the boxes about a long path give it.
inline std::wstring OnlyShorterPaths(std::size_t maxPath) {
    return L"nur Dateien, deren Pfad k\u00FCrzer als " + Decimal(maxPath) + L" Zeichen ist.";
}
inline std::wstring FolderTooLong(const std::wstring& quotedFolder, std::size_t maxPath) {
    return L"Der BearShare-Ordner " + quotedFolder +
           L" hat einen zu langen Pfad: Windows \u00F6ffnet darin " + OnlyShorterPaths(maxPath);
}
inline std::wstring CopyTooLong(const std::wstring& quotedCopy, std::size_t maxPath) {
    return L"BearShare liest FreePeers.ini hier aus der Kopie " + quotedCopy +
           L", deren Pfad zu lang ist: Windows \u00F6ffnet " + OnlyShorterPaths(maxPath);
}

// The setup dialog's refusals of what the code page cannot hold.
inline std::wstring NotStorable(const wchar_t* what, const std::wstring& quotedValue,
                                const wchar_t* instead) {
    return std::wstring(what) + quotedValue +
           L" enth\u00E4lt Zeichen, die Windows in den Einstellungen nicht unver\u00E4ndert "
           L"speichern kann. " +
           instead;
}
// The folder the list started at, which nobody chose: no settings file goes where no
// client is.
inline std::wstring FolderNotChosen(const std::wstring& quotedFolder) {
    return L"Im Ordner " + quotedFolder +
           L" liegt kein BearShare.exe. Bitte w\u00E4hlen Sie das BearShare-Verzeichnis aus: "
           L"Ein Doppelklick \u00F6ffnet einen Ordner.";
}
inline constexpr wchar_t kTheFolder[] = L"Der Ordner ";
inline constexpr wchar_t kOtherFolder[] = L"Bitte w\u00E4hlen Sie einen anderen Ordner.";
inline constexpr wchar_t kTheAddress[] = L"Die Adresse ";
inline constexpr wchar_t kOtherAddress[] =
    L"Bitte geben Sie die Adresse anders ein (zum Beispiel mit %-Kodierung).";

// Why a page could not be loaded.
inline constexpr wchar_t kTimeoutPrefix[] = L"Zeit\u00FCberschreitung: ";
inline std::wstring Timeout(unsigned seconds) {
    return kTimeoutPrefix + std::wstring(L"Die Seite war nach ") + Decimal(seconds) +
           L" Sekunden nicht vollst\u00E4ndig geladen.";
}
inline std::wstring TooBig(std::size_t mib) {
    return L"Die Seite ist gr\u00F6\u00DFer als " + Decimal(mib) + L" MiB.";
}
inline std::wstring HeadersTooLong(std::size_t kib) {
    return L"Die Kopfzeilen der Antwort sind l\u00E4nger als " + Decimal(kib) + L" KiB.";
}
inline constexpr wchar_t kEmptyAddress[] = L"Die Adresse ist leer.";
inline constexpr wchar_t kControlCharacters[] =
    L"Die Adresse enth\u00E4lt Steuerzeichen (zum Beispiel einen Zeilenumbruch).";
inline std::wstring SchemeRefused(const std::wstring& scheme) {
    return L"Adressen mit \u201E" + scheme +
           L":\u201C werden nicht unterst\u00FCtzt, nur http:// "
           L"und https://.";
}
inline std::wstring AddressTooLong(std::size_t max) {
    return L"Die Adresse ist l\u00E4nger als " + Decimal(max) + L" Zeichen.";
}
inline std::wstring RedirectTooLong(std::size_t max) {
    return L"Das Ziel der Weiterleitung ist l\u00E4nger als " + Decimal(max) + L" Zeichen.";
}
// An empty `port` is not shown (it may be part of a password).
inline std::wstring PortRefused(const std::wstring& port) {
    return L"Der Port " + (port.empty() ? std::wstring() : L"\u201E" + port + L"\u201C ") +
           L"ist ung\u00FCltig: erlaubt sind 1 bis 65535.";
}
inline constexpr wchar_t kUnreadableAddress[] =
    L"Tolvaring kann diese Adresse nicht lesen. Eine Adresse beginnt mit http:// oder "
    L"https://, gefolgt vom Namen des Servers, zum Beispiel \u201Ehttps://www.example.com/ip"
    L"\u201C.";
inline constexpr wchar_t kInvalidAddress[] = L"Die Adresse ist ung\u00FCltig.";
inline constexpr wchar_t kOnlyHttp[] =
    L"Nur Adressen mit http:// oder https:// werden unterst\u00FCtzt.";
inline constexpr wchar_t kNoServer[] = L"Die Adresse nennt keinen Server.";
inline constexpr wchar_t kRedirectWithoutTarget[] =
    L"Der Server leitet weiter, nennt aber kein Ziel.";
inline constexpr wchar_t kCutShort[] = L"Die Verbindung wurde vor dem Ende der Seite getrennt.";
inline std::wstring TooManyRedirects(int max) {
    return L"Zu viele Weiterleitungen (mehr als " + Decimal(max) + L").";
}
inline constexpr wchar_t kNoValidAnswer[] =
    L"Der Server hat keine g\u00FCltige HTTP-Antwort gesendet.";
inline std::wstring HttpStatus(unsigned long status) {
    return L"Der Server antwortete mit dem HTTP-Status " + Decimal(status) + L".";
}
inline constexpr wchar_t kOutOfMemory[] = L"Nicht genug Arbeitsspeicher.";

// "Fehler <code>" in front of the system's own text.
inline std::wstring ErrorNumber(unsigned long code) {
    return L"Fehler " + Decimal(code);
}

} // namespace texts
