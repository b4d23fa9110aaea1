#pragma once

// Hand-offs between threads that go through Qt's event queue are ordered by
// Qt's own locks, which ThreadSanitizer cannot follow in a Qt built without
// it. These marks tell it about such a hand-off: what one thread did before
// released(x) is visible to another thread after acquired(x). Outside a
// ThreadSanitizer build they are nothing.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void *address);
extern "C" void __tsan_release(void *address);
namespace RaceAnnotations {
inline void released(const void *x) { __tsan_release(const_cast<void *>(x)); }
inline void acquired(const void *x) { __tsan_acquire(const_cast<void *>(x)); }
} // namespace RaceAnnotations
#else
namespace RaceAnnotations {
inline void released(const void *) {}
inline void acquired(const void *) {}
} // namespace RaceAnnotations
#endif
