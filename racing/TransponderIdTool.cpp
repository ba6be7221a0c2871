#include "TransponderIdTool.h"

#include "Helpers.h"
#include "KirvOCX.h"
#include "LapCounterConnection.h"
#include "Ui.h"

namespace kv {

TransponderRead TransponderIdTool::Read() {
    m_main.OpenLapCounterPort();
    MainState& s = m_main.state();
    const qint16 id = s.KirvOCX->GetSingleID();
    // -1: the counter answered, with nothing on its reader.
    s.shapeHWStatusIndicator->setFillColor(id >= -1 ? Colours::Green : Colours::DarkRed);
    if (id >= 0)
        return {TransponderRead::ID, id};
    return {id == -1 ? TransponderRead::NoCar : TransponderRead::NoContact, id};
}

TransponderWrite TransponderIdTool::Write(double id) {
    // The counter's IDs are two hexadecimal digits: anything else would be
    // written as some other ID, or not at all.
    if (!IsTransponderID(id))
        return TransponderWrite::NotAnID;
    m_main.OpenLapCounterPort();
    return m_main.state().KirvOCX->SetSingleID(static_cast<qint16>(id))
               ? TransponderWrite::Stored
               : TransponderWrite::NotStored;
}

} // namespace kv
