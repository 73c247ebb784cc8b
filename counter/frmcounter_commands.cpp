// Commands and events whose behaviour arrives with the task commands, new work, the record editors
// and the statistics tabs. Each is already connected to its menu entry or control.
#include "counter/frmcounter.h"

namespace counter {

void frmCounter::mnNovaTarefa_Click() {}
void frmCounter::mnListAbrir_Click() {}
void frmCounter::mnListLancamento_Click() {}
void frmCounter::mnEsconder_Click() {}
void frmCounter::mnListAbrirProcesso_Click() {}
void frmCounter::mnListAbrirTrabalho_Click() {}
void frmCounter::mnListAbrirArquivoDocumental_Click() {}
void frmCounter::mnListTerminar_Click() {}
void frmCounter::mnListTrabalho_Click() {}
void frmCounter::mnLancamentoNovo_Click() {}
void frmCounter::mnListRemover_Click() {}

// The lawyer selector: the chosen lawyer's records in the current tab.
void frmCounter::FXAdvogado_ID_Click() {}
// The tab strip: which list and panel are shown.
void frmCounter::TabStrip1_Click() {}
// The time-entry list of the statistics tab, selecting entry L.
void frmCounter::Fill_Lancamentos(int& /*L*/) {}

} // namespace counter
