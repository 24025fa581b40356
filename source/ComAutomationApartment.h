#pragma once

namespace source {

// Joins the calling thread to a single-threaded COM apartment for as long as it lives; every
// automation object holds one, so COM stays initialised until the last object is released. Only the
// thread that created it may use it and the objects that hold it.
class ComAutomationApartment {
public:
    // Throws ConnectionError when COM cannot be initialised. A thread that already is in a
    // multithreaded apartment stays there: calls then go through COM's proxies all the same.
    ComAutomationApartment();
    ~ComAutomationApartment();
    ComAutomationApartment(const ComAutomationApartment&) = delete;
    ComAutomationApartment& operator=(const ComAutomationApartment&) = delete;

private:
    bool m_mustUninitialize = false;
};

} // namespace source
