#include "managers/logic/store_command.h"

#include "core/store.h"

namespace zt {

StoreCommand::StoreCommand(all_list& store, const QString& text, std::function<void()> forward,
                           std::function<void()> backward)
    : QUndoCommand(text),
      m_store(store),
      m_forward(std::move(forward)),
      m_backward(std::move(backward)) {}

void StoreCommand::redo() {
    m_cur_group = m_store.cur_group;
    m_forward();
}

void StoreCommand::undo() {
    m_backward();
    m_store.cur_group = m_cur_group;
}

}  // namespace zt
