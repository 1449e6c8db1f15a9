#pragma once

// One replaceable process-wide service (clock, shell): the system's own by
// default, a test's fake while one is installed.
template <class TInterface, class TDefault> class CSeam
{
public:
    static TInterface &instance()
    {
        static TDefault systemDefault;
        return s_pInstalled ? *s_pInstalled : systemDefault;
    }
    // Takes no ownership; nullptr restores the system default.
    static void install(TInterface *pInstance) { s_pInstalled = pInstance; }

private:
    inline static TInterface *s_pInstalled = nullptr;
};
