#pragma once

#include <cstdint>
#include <memory>

namespace platform {

// The step at which building an off-screen GL context stopped.
enum class gl_failure {
    none,
    initialize,
    choose_config,
    no_config,
    create_surface,
    create_context,
    make_current
};

// One OpenGL ES 1.x context with an off-screen RGB565 / depth-16 surface, current on the thread that made it.
// No window is needed: the frames are read back with glReadPixels.
class gl_context {
public:
    gl_context();
    ~gl_context();
    gl_context(const gl_context&) = delete;
    gl_context& operator=(const gl_context&) = delete;

    // Builds display, configuration, surface and context in that order and makes them current. After a
    // failure what was already built stays until release().
    gl_failure create(int width, int height);
    // The EGL error value of the failed step.
    std::int32_t error_code() const { return error; }
    // Leaves nothing current and destroys what create() built.
    void release();

private:
    struct handles;
    std::unique_ptr<handles> h;
    std::int32_t error = 0;
};

// A host or test switch: while set, every create() fails at its first step, as on a machine without GL.
void set_gl_refused(bool refused);

} // namespace platform
