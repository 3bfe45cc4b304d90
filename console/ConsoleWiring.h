#pragma once

class TForm_Main;

// Set-up of the console's parts of the fixed frame that need more than the template gives:
// called once while the window builds its frame, after the controls and Comm1 exist.

// The parameter pages' commissioning bar: read all, snapshots, compare and restore, and the
// journal of writes.
void installCommissioning(TForm_Main& form);
