#include "engine/task_runners.h"

#include "engine/computation.h"
#include "engine/consultation.h"
#include "engine/data_exchange.h"
#include "engine/print_output.h"

namespace kelvo {

void InstallDefaultTaskRunners(Consultation& consultation) {
    consultation.SetTaskRunner(TaskSlot::Computation,
                               [](Consultation& c, int) { Formelaufruf(c, c.RuleCertainty()); });
    consultation.SetTaskRunner(TaskSlot::Display,
                               [](Consultation& c, int slot) { c.Anzeige_Texte_v_n(slot); });
    consultation.SetTaskRunner(TaskSlot::JumpBack, [](Consultation& c, int) { c.Prog_Rueck(); });
    consultation.SetTaskRunner(TaskSlot::Block, [](Consultation& c, int) { c.Alle_Funktionen(); });
    const TaskRunner oldDatabase = [](Consultation& c, int) { c.Fehlermeldung_alte_Datenbank(); };
    consultation.SetTaskRunner(TaskSlot::OldDatabaseRead, oldDatabase);
    consultation.SetTaskRunner(TaskSlot::OldDatabaseWrite, oldDatabase);
    consultation.SetTaskRunner(TaskSlot::ReadOther,
                               [](Consultation& c, int) { Wissensbasis_Lesen(c); });
    consultation.SetTaskRunner(TaskSlot::WriteOther,
                               [](Consultation& c, int) { Wissensbasis_Schreiben(c); });
    consultation.SetTaskRunner(TaskSlot::Print, [](Consultation& c, int) { Druckausgabe(c); });
}

}  // namespace kelvo
