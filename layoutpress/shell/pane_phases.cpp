#include "layoutpress/shell/pane_phases.h"

namespace {

PanePhaseProbe pane_phase_probe = nullptr;

} // namespace

void set_pane_phase_probe(PanePhaseProbe probe) {
    pane_phase_probe = probe;
}

PanePhaseScope::PanePhaseScope(PanePhase phase) : phase_(phase) {
    if (pane_phase_probe != nullptr) {
        pane_phase_probe(phase_, true);
    }
}

PanePhaseScope::~PanePhaseScope() {
    if (pane_phase_probe != nullptr) {
        pane_phase_probe(phase_, false);
    }
}
