#include "engine/error_codes.h"

#include <array>

namespace kelvo {
namespace {

struct ErrorDefinition {
    int code;
    std::string_view message;
    bool endsConsultation;
};

constexpr std::array<ErrorDefinition, 15> kErrors = {{
    {2, "Variable (Zahl) ausserhalb\r\ndes  zul\xE4ssigen  Bereiches", true},
    {3, "Variable nicht gefunden", true},
    {5, "Rechenoperation fehlerhaft", true},
    {6, "Variable bzw. Objekt schon belegt", true},
    {8, "Die  Verwendung  des  Zielobjektes\r\nist in diesem Befehl nicht erlaubt", false},
    {9,
     "Ihre Wissensbasis ist Fehlerhaft.\r\n\xDC"
     "berpr\xFC"
     "fen Sie Ihre Befehlsfolge!\r\n \r\nAchtung: Beenden Sie Ihre Wissens-\r\nbasis immer mit "
     "einer Kommentarzeile.",
     false},
    {10,
     "Der R\xFC"
     "cksprung auf diese Datenbasisposition ist unzul\xE4ssig",
     true},
    {11, "Sprungvariable ist nicht vorhanden", true},
    {13,
     " Ausgabebildschirme m\xFCssen immer\r\nmit einer Textzeile begonnen werden.\r\n       "
     "Grafikanzeige nicht m\xF6glich !",
     true},
    {14, "Regel konnte nicht erf\xFCllt werden", true},
    {15, "Datums-oder Zeitwert fehlerhaft", true},
    {17, "Variable nicht gefunden", true},
    {19, "Wissensbasis schreiben...Schreibbefehl\r\nnicht gefunden oder unkorrekt", true},
    {20, "Wissensbasis schreiben...Fehler beim\r\nZugriff auf Wissensbasis", true},
    {21, "Wissensbasis schreiben...Befehlszeile fehler-\r\nhaft oder falsche Zeilenzugriffsnummer",
     true},
}};

const ErrorDefinition* Find(int code) {
    for (const ErrorDefinition& e : kErrors) {
        if (e.code == code) {
            return &e;
        }
    }
    return nullptr;
}

}  // namespace

std::string_view ErrorMessage(int code) {
    const ErrorDefinition* e = Find(code);
    return e != nullptr ? e->message : std::string_view();
}

bool ErrorEndsConsultation(int code) {
    const ErrorDefinition* e = Find(code);
    return e == nullptr || e->endsConsultation;
}

}  // namespace kelvo
