// Named steps of replacing a pane, so that a timing program can tell where the time of a tab
// change or a command goes. The program itself installs no probe: a step then costs one test
// of a pointer.
#pragma once

enum class PanePhase {
    writing_back,   // the editor's pending edit into its buffer
    destroying,     // the old pane and its controls
    creating,       // the new pane's dialog and controls, without their texts
    placing,        // moving and sizing the pane and its controls
    filling_editor, // the document text into the editor
    filling_view,   // the character view, built and put into its control
    filling_fields, // file name, path and ruler
    status_bar,     // the status bar made anew
    focus,          // the keyboard focus to the editor
    count
};

// Called when a step starts (entering true) and when it ends; steps nest (a pane's creation
// holds its filling).
using PanePhaseProbe = void (*)(PanePhase phase, bool entering);
void set_pane_phase_probe(PanePhaseProbe probe);

class PanePhaseScope {
  public:
    explicit PanePhaseScope(PanePhase phase);
    ~PanePhaseScope();
    PanePhaseScope(const PanePhaseScope&) = delete;
    PanePhaseScope& operator=(const PanePhaseScope&) = delete;

  private:
    PanePhase phase_;
};
