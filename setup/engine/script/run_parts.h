// The state a layer keeps for one run beside the engine's own values (the open text file, the
// script's random generator, ...): one object of each type per run, made on first use and gone
// with the run, so that every run, and every test, starts from fresh state.
#pragma once

#include <memory>
#include <mutex>
#include <typeindex>
#include <unordered_map>

namespace setup::engine {

class RunParts
{
public:
    RunParts() = default;
    RunParts(const RunParts&) = delete;
    RunParts& operator=(const RunParts&) = delete;

    // The run's object of type T; T must be default-constructible. Workers may ask too.
    template <class T>
    T& Get()
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        std::shared_ptr<void>& part = m_parts[std::type_index(typeid(T))];
        if (!part)
            part = std::make_shared<T>();
        return *static_cast<T*>(part.get());
    }

private:
    std::mutex m_lock;
    std::unordered_map<std::type_index, std::shared_ptr<void>> m_parts;
};

}  // namespace setup::engine
