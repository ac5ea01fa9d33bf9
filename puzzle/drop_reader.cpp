#include "puzzle/drop_reader.h"

#include <memory>
#include <string>

#include "painter/picture_source.h"
#include "puzzle/read_budget.h"

namespace tama05 {

PictureSourceReader DropPictureReader(uint64_t budgetBytes) {
    auto budget = std::make_shared<ReadBudget>(budgetBytes);
    return [budget](const std::filesystem::path& path, Image& target, MessageSink& messages) {
        PictureSourceState state;
        const ReadGate gate = [&](uint64_t cost) {
            ReadHold hold = budget->Acquire(cost);
            if (!hold) {
                messages.ShowMessage("画像が大きすぎて読み込めません。\n" + path.string(), "失敗");
            }
            return hold;
        };
        return SniffSourceFile(messages, state, path, target, nullptr, {}, gate);
    };
}

}  // namespace tama05
