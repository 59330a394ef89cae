// The seams in front of the system's calls. A seam is a class whose virtual member
// functions make the system's calls; code that a test must run against other answers
// takes one by reference. The program passes system_calls<Seam>(), whose members are the
// real calls; a test derives a small stand-in from the seam, keeping its state in its own
// members and overriding only the calls it answers itself.
#pragma once

namespace quilla {

// The seam as the system answers it. It holds no state, so every thread may share it. It
// is never destroyed: a thread still running while the process ends (the render worker
// past its stop's wait, the update check's name lookup) may still call through it.
template <class Seam>
Seam& system_calls() noexcept {
    static Seam* const calls = new Seam;
    return *calls;
}

}  // namespace quilla
