#include "KernelLock.h"

#include <utility>

KernelLock::KernelLock(KernelLock&& other) noexcept
    : m_handle(std::exchange(other.m_handle, invalidHandle)), m_identity(other.m_identity),
      m_error(std::move(other.m_error))
{}

KernelLock& KernelLock::operator=(KernelLock&& other) noexcept
{
    if (this != &other) {
        close();
        m_handle = std::exchange(other.m_handle, invalidHandle);
        m_identity = other.m_identity;
        m_error = std::move(other.m_error);
    }
    return *this;
}

KernelLock::~KernelLock()
{
    close();
}
