// The launcher's built-in texts in seven languages. This file is compiled with
// -finput-charset=UTF-8 -fexec-charset=CP1252: the literals below become Windows-1252 bytes.
#include "app/LanguageTable_core.h"

#include <cstring>

namespace languagetable {

namespace {

// Texts that several rows share are stored once.
constexpr char kCaption[] = "Quenbrak Teleskarn";
constexpr char kOk[] = "OK";
constexpr char kCancelEnglish[] = "Cancel";
constexpr char kCancelNordic[] = "Avbryt";
constexpr char kErrorEnglish[] = "Error\nFile not found: ";

} // namespace

// Field order: languageCode, altCode, headText, introText, instructionText, liabilityText,
// captionText, okText, cancelText, errorPrefix.
const LanguageTextRow LanguageTextTable[LanguageTextRowCount] = {
    // German
    {
        "de",
        "de",
        "ACHTUNG",
        "Sie aktivieren jetzt die Teleskarn Funktion.",
        "Zur Vermeidung von Fehlfunktionen und möglichen Gefährdungen für Personen, Prüfgeräten "
        "und Fahrzeug folgen Sie bitte unbedingt den Anweisungen des Hotline Mitarbeiters.\n"
        "Führen Sie daher nach Aktivierung keine Tätigkeiten mehr am Diagnosesystem oder "
        "Fahrzeug durch, ohne dass Sie diese zuvor mit dem Hotline Mitarbeiter abgesprochen "
        "haben. Dies gilt insbesondere bei Nutzung der Distavis Dienstleistung.",
        "Keine Haftung für Personen Vermögens- und Sachschäden durch die Quenbrak GmbH.",
        kCaption,
        kOk,
        "Abbrechen",
        "Fehler\n"
        "Datei nicht gefunden: ",
    },
    // English
    {
        "en",
        "en",
        "ATTENTION",
        "You are now activating the remote support function.",
        "Please make sure you follow the instructions of the hotline agent closely to prevent "
        "any malfunctions and dangers for individuals, diagnostics system, and vehicles.\n"
        "After activating the remote support function please do not work with the diagnostics "
        "system or on the car without prior approval by the hotline agent. This especially "
        "applies when using the Distavis service.",
        "No liability by Quenbrak GmbH for personal injuries, financial losses or property "
        "damages.",
        kCaption,
        kOk,
        kCancelEnglish,
        kErrorEnglish,
    },
    // Danish
    {
        "da",
        "dk",
        "OBS..!",
        "Du er nu ved at aktivere Teleskarn via fjernopkobling.",
        "Vær venligst opmærksom på at følge instruktionerne fra din hotline agent omhyggeligt "
        "for at sikre en problemfri, sikker og forsvarlig session.\n"
        "\n"
        "Efter aktivering af fjernopkoblingen må PC / tester og evt. bil ikke betjenes uden "
        "tydelig tilkendegivelse fra din hotline agent.",
        "Quenbrak A/S fraskriver sig ethvert ansvar ved personskade, finansielt tab og/eller "
        "produktskade.",
        kCaption,
        kOk,
        kCancelEnglish,
        kErrorEnglish,
    },
    // Italian
    {
        "it",
        "it",
        "Attenzione",
        "State attivando la funzione di supporto remoto.",
        "Assicuratevi di seguire attentamente le istruzioni dell'operatore del servizio di "
        "assistenza hotline, per evitare malfunzionamenti ovvero pericoli per le persone, il "
        "sistema di diagnosi ed i veicoli. Dopo aver attivato la funzione di supporto remoto "
        "siete pregati di non operare sul sistema di diagnosi o sulla vettura senza previa "
        "autorizzazione da parte dell'operatore del servizio di assistenza hotline. Quanto sopra "
        "soprattutto nel caso di utilizzo del servizio di Distavis.",
        "Quenbrak S.p.A. Società Unipersonale esclude qualsiasi responsabilità per danni "
        "personali, perdite economiche o danni alle cose. ",
        kCaption,
        kOk,
        "Annulla",
        kErrorEnglish,
    },
    // Finnish
    {
        "fi",
        "fi",
        "Varoitus",
        "Olet aktivoimassa etätukitoimintoa (Quenbrak Teleskarn).",
        "Seuraa tukihenkilön ohjeita tarkasti välttyäksesi henkilö-, ajoneuvo- tai "
        "testauslaitevahingoilta. Tukitoiminnon ollessa aktivoituna, mitään toimenpiteitä "
        "ajoneuvon tai testilaitteen kanssa ei saa suorittaa ilman tukihenkilön lupaa. Tämä on "
        "erityisen tärkeää ajoneuvon etädiagnoosin yhteydessä.",
        "Quenbrak Oy ei vastaa mahdollisista henkilö- tai materiaalivahingoista.",
        kCaption,
        kOk,
        "Keskeytä",
        kErrorEnglish,
    },
    // Norwegian
    {
        "no",
        "no",
        "Advarsel",
        "Du aktiverer nå fjernhjelpfunksjonen.",
        "Vennligst sikre deg at du følger alle instruksjoner du mottar fra hotline-agenten for å "
        "unngå feilfunksjoner og risiko for skade på individer, diagnosesystemer og kjøretøy.\n"
        "Etter aktivering av fjernhjelpfunksjonen må du ikke arbeide med diagnosesystemet eller "
        "på kjøretøyet uten først å ha fått tillatelse til dette fra hotline-agenten. Dette "
        "gjelder spesielt hvis Distavis service benyttes.",
        "Quenbrak GmbH tar ikke ansvar for personskader, finansielle tap eller materielle skader.",
        kCaption,
        kOk,
        kCancelNordic,
        kErrorEnglish,
    },
    // Swedish
    {
        "sv",
        "se",
        "Varning",
        "Du aktiverar nu Teleskarn Funktionen.",
        "Följ hotline-agentens anvisningar noggrant för att förhindra personskador och skador på "
        "diagnosutrustning och fordon.\n"
        "När funktionen är aktiverad får inget arbete göras med diagnosutrustningen eller på "
        "bilen utan tillstånd från hotline-agenten.\n"
        "Detta är speciellt viktigt när Distavis används.",
        "Quenbrak AB ansvarar inte för personskador och materiella skador.",
        kCaption,
        kOk,
        kCancelNordic,
        kErrorEnglish,
    },
};

const LanguageTextRow* FindLanguageRow(const char* code)
{
    if (code == nullptr)
        return nullptr;
    // Every row is compared, as the dialog's own walk does; the codes are unique, so at most one matches.
    const LanguageTextRow* match = nullptr;
    for (const LanguageTextRow& row : LanguageTextTable) {
        if (match == nullptr && std::strcmp(row.languageCode, code) == 0)
            match = &row;
    }
    return match;
}

}  // namespace languagetable
