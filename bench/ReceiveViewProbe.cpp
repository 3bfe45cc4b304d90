#include "ReceiveViewProbe.h"

#include "app/MainFrm.h"

ReceiveViewProbe windowViewProbe(TForm_Main& form) {
    ReceiveLogView* view = form.mmo_RX;
    return {[view] { return view->drawnCharacters(); }, [view] { return view->receivedCharacters(); },
            [view] { return view->drawnCharacters() == view->receivedCharacters(); }, view->viewport()};
}
