#include "animation/wait_frame.h"
#include "app/start_up.h"
#include "desktop/program_end_now.h"

int main() {
    kelto::ProgramEndNow end;
    kelto::SteadyWaitClock clock;
    kelto::PreciseIdleWaiter waiter(clock);
    return kelto::RunViewer(end, waiter);
}
