// An event that a control raises synchronously to the objects bound to it.
// Each owner holds at most one handler: binding again replaces it, so that a
// rebinding never delivers an event twice.
#pragma once

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace ui {

template <typename... Args> class Event {
public:
    using Handler = std::function<void(Args...)>;

    void bind(const void* owner, Handler handler) {
        for (auto& [o, h] : m_handlers) {
            if (o == owner) {
                h = std::move(handler);
                return;
            }
        }
        m_handlers.emplace_back(owner, std::move(handler));
    }

    // Binds this owner as the only receiver of the event.
    void bindOnly(const void* owner, Handler handler) {
        m_handlers.clear();
        m_handlers.emplace_back(owner, std::move(handler));
    }

    void unbind(const void* owner) {
        std::erase_if(m_handlers, [owner](const auto& entry) { return entry.first == owner; });
    }

    bool isBound(const void* owner) const {
        return std::any_of(m_handlers.begin(), m_handlers.end(),
                           [owner](const auto& entry) { return entry.first == owner; });
    }

    std::size_t size() const { return m_handlers.size(); }

    // Raises the event to every handler bound now. A handler may bind or unbind
    // while the event runs; the change acts from the next raise on.
    void raise(Args... args) const {
        const auto handlers = m_handlers;
        for (const auto& entry : handlers)
            entry.second(args...);
    }

private:
    std::vector<std::pair<const void*, Handler>> m_handlers;
};

} // namespace ui
