// Loading a snapshot from any bytes, as a spreadsheet or a damaged disk may leave them: the
// file is read, each row checked against a parameter of every kind, and nothing that passes
// may be a value a Write must never send. The journal reader gets the same bytes.

#include "FuzzFiles.h"
#include "console/protocol/SnapshotCsv.h"
#include "console/protocol/WriteJournal.h"
#include "device/ParameterModel.h"
#include "device/SnapshotCheck.h"

#include <cstdio>

namespace {

const ParameterModel& model() {
    static const ParameterModel m = ParameterModel::fromFile(
        fuzzFile("config.xml",
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?><TERVALON><GROUP_DYNC><P caption=\"p\">"
                 "<Plain caption=\"a\" addr=\"1\"/><Mask caption=\"b\" addr=\"2\" type=\"HEX\"/>"
                 "<Mode caption=\"c\" addr=\"3\" controlType=\"ComboBox\" items=\"x|y\" itemsValue=\"0|1\"/>"
                 "</P></GROUP_DYNC></TERVALON>"));
    return m;
}

void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    const SnapshotParse parse = SnapshotFromCsv(bytes);
    (void)SnapshotFaultText(parse, Language::english());
    if (parse.rows.size() != parse.rowLines.size())
        fail("rows and their lines differ in number");
    if (parse.ok() && SnapshotFromCsv(SnapshotToCsv(parse.rows)).rows != parse.rows)
        fail("rows read do not survive being written and read again");
    const SnapshotLoadPlan plan = PlanSnapshotLoad(model().rows(), parse, Language::chinese());
    (void)SnapshotLoadText(plan, Language::english());
    for (const auto& value : plan.values)
        if (value && (value->isEmpty() || LooksLikeFormula(*value) || value->contains(QLatin1Char('#')) ||
                      value->contains(QLatin1Char(',')) || value->contains(QLatin1Char('\n'))))
            fail("a value that must not be sent passed the check");
    (void)WriteJournal::read(bytes);
    return 0;
}
