// Intrusive reference-counted pointer for objects with AddRef/Release (streams, modules).
#pragma once
#include <cstddef>
#include <utility>

namespace UtilityClasses {

template <class T>
class ARefPtr {
public:
    ARefPtr() = default;
    ARefPtr(std::nullptr_t) {}

    // Shares the object: takes a reference of its own.
    explicit ARefPtr(T* object) : m_object(object)
    {
        if (m_object)
            m_object->AddRef();
    }

    // Takes over a reference the caller already holds (a freshly created object, an out
    // parameter filled by an interface call).
    static ARefPtr Adopt(T* object)
    {
        ARefPtr result;
        result.m_object = object;
        return result;
    }

    ARefPtr(const ARefPtr& other) : ARefPtr(other.m_object) {}
    ARefPtr(ARefPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}

    template <class U>
    ARefPtr(const ARefPtr<U>& other) : ARefPtr(static_cast<T*>(other.get())) {}
    template <class U>
    ARefPtr(ARefPtr<U>&& other) noexcept : m_object(other.Detach()) {}

    ARefPtr& operator=(ARefPtr other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }

    ~ARefPtr() { Reset(); }

    void Reset()
    {
        if (T* object = std::exchange(m_object, nullptr))
            object->Release();
    }

    // Hands the reference to the caller without releasing it.
    [[nodiscard]] T* Detach() { return std::exchange(m_object, nullptr); }

    // For interface calls that return a new reference through a T** parameter.
    T** Out()
    {
        Reset();
        return &m_object;
    }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T* m_object = nullptr;
};

}  // namespace UtilityClasses
