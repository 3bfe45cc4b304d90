#pragma once

// Runs the event loop until ms have passed: input, timers and receive events are handled
// meanwhile, also nested handlers. Events are processed at least once, also for 0 ms.
// Only for the pauses a person's own action has (the pause before a button's send, a
// batch's step delays); sequences the machine drives wait with signals instead.
void DelayWithMessages(int ms);
