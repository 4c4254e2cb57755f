// The OpenGL ES part of the GDI back-end: the earth globe rendered off-screen and read back into the back
// buffer.
#include "ui/gdi_graphics.h"

#include "platform/text.h"
#include "utils/errors.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace ui_impl {

namespace {

constexpr double pi = 3.14159265358979323846;

GLfixed fixed(double v) {
    return static_cast<GLfixed>(v * 65536.0);
}

// Texel boxes (x from the west edge, y from the south edge, width, height) of the six continents.
struct region_box {
    int x, y, w, h;
};
constexpr region_box region_boxes[6] = {
    {277, 113, 234, 131}, // Asia
    {0, 138, 230, 109},   // North America
    {124, 48, 67, 98},    // South America
    {400, 60, 96, 72},    // Oceania
    {214, 78, 99, 103},   // Africa
    {206, 177, 133, 67},  // Europe
};

const char* failure_text(platform::gl_failure f) {
    switch (f) {
    case platform::gl_failure::initialize:
        return "Cannot initialize opengl";
    case platform::gl_failure::choose_config:
        return "Cannot choose config";
    case platform::gl_failure::no_config:
        return "No matching configs";
    case platform::gl_failure::create_surface:
        return "Cannot create surface";
    case platform::gl_failure::create_context:
        return "Cannot create context";
    default:
        return "Cannot make surface current";
    }
}

} // namespace

gdi_graphics::~gdi_graphics() {
    shutdown_opengl();
}

void gdi_graphics::shutdown_opengl() {
    if (gl_initialised && texture_name != 0) {
        GLuint name = texture_name;
        glDeleteTextures(1, &name);
    }
    texture_name = 0;
    if (gl)
        gl->release();
    gl_initialised = false;
}

void gdi_graphics::init_opengl(int w, int h, const std::wstring& path_a, const std::wstring& path_b,
                               int stack_count, int slice_count, float p, float q) {
    if (gl_initialised && w == tex_width && h == tex_height && path_a == texture_path_a &&
        path_b == texture_path_b && stack_count == stacks && slice_count == slices && p == param_p &&
        q == param_q) {
        // The renderer is kept between visits of the world view: a new globe only starts from the
        // unmarked earth, without a new context or another read of the textures.
        angle_x = angle_y = 0;
        if (texture != file_texture) {
            texture = file_texture;
            glBindTexture(GL_TEXTURE_2D, texture_name);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, texture.data());
        }
        return;
    }
    shutdown_opengl();
    // The halves need an even width; the indices are 16-bit.
    if (w <= 0 || h <= 0 || w % 2 != 0 || w > 4096 || h > 4096 || stack_count <= 0 || slice_count <= 0 ||
        (stack_count + 1) * (slice_count + 1) > 65536)
        utils::throw_error(std::invalid_argument("Invalid globe size"));
    tex_width = w;
    tex_height = h;
    texture_path_a = path_a;
    texture_path_b = path_b;
    stacks = stack_count;
    slices = slice_count;
    vertex_count = (stacks + 1) * (slices + 1);
    index_count = 2 * (slices + 1) * stacks;
    param_p = p;
    param_q = q;
    angle_x = angle_y = 0;
    vertices.clear();
    tex_coords.clear();
    indices.clear();
    mask.clear();
    texture.clear();
    file_texture.clear();

    if (!gl)
        gl.reset(new platform::gl_context);
    const platform::gl_failure failed = gl->create(surface_size, surface_size);
    if (failed != platform::gl_failure::none)
        utils::throw_error(utils::opengl_error(failure_text(failed), gl->error_code()));

    glShadeModel(GL_FLAT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    apply_projection();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const std::size_t texels = static_cast<std::size_t>(w) * h;
    mask.assign(texels, 0);
    texture.assign(texels * 3, 0);
    read_texture_half(path_a, 0);
    read_texture_half(path_b, w / 2);
    file_texture = texture;

    GLuint name = 0;
    glGenTextures(1, &name);
    texture_name = name;
    glBindTexture(GL_TEXTURE_2D, name);
    // Filtered: a texel covers several pixels in the middle of the disc. Drawn at twice the side, the disc
    // needs no smaller levels (they looked the same and cost a third more). Longitudes wrap round; the
    // poles do not run into each other.
    glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameterx(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, texture.data());

    vertices.reserve(static_cast<std::size_t>(vertex_count) * 3);
    tex_coords.reserve(static_cast<std::size_t>(vertex_count) * 2);
    indices.reserve(static_cast<std::size_t>(index_count));
    const double d_theta = pi / stacks, d_phi = 2 * pi / slices;
    for (int i = 0; i <= stacks; ++i) {
        const double theta = i * d_theta;
        for (int j = 0; j <= slices; ++j) {
            const double phi = j * d_phi;
            vertices.push_back(static_cast<float>(std::sin(theta) * std::sin(phi)));
            vertices.push_back(static_cast<float>(std::cos(theta)));
            vertices.push_back(static_cast<float>(std::sin(theta) * std::cos(phi)));
            tex_coords.push_back(fixed(static_cast<double>(j) / slices));
            tex_coords.push_back(fixed(static_cast<double>(i) / stacks));
        }
    }
    // One strip: each row of quads runs into the next through triangles of no area.
    int k = 0;
    for (int i = 0; i < stacks; ++i) {
        for (int j = 0; j <= slices; ++j, ++k) {
            indices.push_back(static_cast<std::uint16_t>(k));
            indices.push_back(static_cast<std::uint16_t>(k + slices + 1));
        }
    }
    readback.assign(static_cast<std::size_t>(surface_size) * surface_size, 0);
    gl_initialised = true;
}

void gdi_graphics::read_texture_half(const std::wstring& path, int first_column) {
    // A missing or short file leaves (the rest of) its half black.
    std::ifstream in(platform::to_utf8(path), std::ios::binary);
    if (!in)
        return;
    const int half = tex_width / 2;
    std::vector<char> row(static_cast<std::size_t>(half) * 4);
    for (int y = 0; y < tex_height; ++y) {
        if (!in.read(row.data(), static_cast<std::streamsize>(row.size())))
            return;
        for (int x = 0; x < half; ++x) {
            const std::size_t texel = static_cast<std::size_t>(y) * tex_width + first_column + x;
            const auto* px = reinterpret_cast<const unsigned char*>(row.data()) + x * 4;
            texture[texel * 3] = px[0];
            texture[texel * 3 + 1] = px[1];
            texture[texel * 3 + 2] = px[2];
            mask[texel] = px[3];
        }
    }
}

// Camera distance at which the unit sphere fills 91% of a square area's side.
constexpr double area_distance = 2.85;

void gdi_graphics::apply_projection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double top = 0.1 * std::tan(pi / 8);
    if (has_globe_area()) {
        glFrustumx(fixed(-top), fixed(top), fixed(-top), fixed(top), fixed(0.1), fixed(100.0));
        glTranslatex(0, 0, fixed(-area_distance));
        const int side = globe_side() * globe_samples();
        glViewport(0, 0, side, side);
        glMatrixMode(GL_MODELVIEW);
        return;
    }
    const bool landscape = win_width >= win_height;
    glFrustumx(fixed(-aspect * top), fixed(aspect * top), fixed(-top), fixed(top), fixed(0.1), fixed(100.0));
    glTranslatex(0, 0, fixed(landscape ? -3.8 : -4.6));
    if (landscape)
        glViewport(0, 0, 800, 428);
    else
        glViewport(0, 0, 480, 800);
    glMatrixMode(GL_MODELVIEW);
}

bool gdi_graphics::has_globe_area() const {
    return globe_area.right > globe_area.left && globe_area.bottom > globe_area.top;
}

int gdi_graphics::globe_side() const {
    return std::clamp(
        static_cast<int>(std::min(globe_area.right - globe_area.left, globe_area.bottom - globe_area.top)), 0,
        buffer_size);
}

int gdi_graphics::globe_samples() const {
    // llvmpipe gives multisampled configurations whose read-back is not resolved, so the disc is drawn at
    // twice its side and each pixel is the mean of its four: a smooth outline for about twice the frame.
    return 2 * globe_side() <= surface_size ? 2 : 1;
}

void gdi_graphics::set_globe_area(const platform::RECT& area) {
    if (area == globe_area)
        return;
    globe_area = area;
    if (gl_initialised)
        apply_projection();
}

void gdi_graphics::render_globe() {
    if (!gl_initialised)
        return;
    glClearColor(0.8392f, 0.8274f, 0.8392f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (!has_globe_area() && win_width >= win_height)
        glTranslatex(fixed(1.3), fixed(0.05), 0);
    glRotatex(fixed(-angle_x), fixed(1), 0, 0);
    glRotatex(fixed(180 - angle_y), 0, fixed(1), 0);

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices.data());
    glTexCoordPointer(2, GL_FIXED, 0, tex_coords.data());
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_name);
    glDrawElements(GL_TRIANGLE_STRIP, index_count, GL_UNSIGNED_SHORT, indices.data());
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);

    if (has_globe_area()) {
        // The square frame goes to the area's top-left corner, cut at the window's edges.
        const int side = globe_side();
        if (side == 0)
            return;
        const int n = globe_samples(), drawn = side * n;
        glPixelStorei(GL_PACK_ALIGNMENT, 2);
        glReadPixels(0, 0, drawn, drawn, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, readback.data());
        const int width = std::min(win_width, buffer_size), height = std::min(win_height, buffer_size);
        const int left = static_cast<int>(globe_area.left), top = static_cast<int>(globe_area.top);
        const int x0 = std::max(0, -left), x1 = std::min(side, width - left);
        for (int y = std::max(0, -top); y < side && top + y < height && x0 < x1; ++y) {
            std::uint16_t* out = buffer.data() + static_cast<std::size_t>(top + y) * buffer_size + left;
            const std::uint16_t* row = readback.data() + static_cast<std::size_t>(y) * n * drawn;
            if (n == 1) {
                std::copy_n(row + x0, x1 - x0, out + x0);
                continue;
            }
            for (int x = x0; x < x1; ++x) {
                const std::uint16_t* p = row + 2 * x;
                const std::uint16_t* q = p + drawn;
                const unsigned r = (p[0] >> 11) + (p[1] >> 11) + (q[0] >> 11) + (q[1] >> 11);
                const unsigned g =
                    ((p[0] >> 5) & 63) + ((p[1] >> 5) & 63) + ((q[0] >> 5) & 63) + ((q[1] >> 5) & 63);
                const unsigned b = (p[0] & 31) + (p[1] & 31) + (q[0] & 31) + (q[1] & 31);
                out[x] = static_cast<std::uint16_t>(((r + 2) / 4) << 11 | ((g + 2) / 4) << 5 | (b + 2) / 4);
            }
        }
        return;
    }
    const int w = std::clamp(win_width, 0, buffer_size), h = std::clamp(win_height, 0, buffer_size);
    if (w == 0 || h == 0)
        return;
    glPixelStorei(GL_PACK_ALIGNMENT, 2);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, readback.data());
    // GL's bottom row lands on the top row: with the south-first texture on the upper pole this shows the
    // earth north-up.
    for (int y = 0; y < h; ++y)
        std::copy_n(readback.data() + static_cast<std::size_t>(y) * w, w,
                    buffer.data() + static_cast<std::size_t>(y) * buffer_size);
}

void gdi_graphics::shade_region(int region, bool darken) {
    if (region < 1 || region > 6 || texture.empty())
        return;
    const region_box& b = region_boxes[region - 1];
    const int x0 = std::max(b.x, 0), x1 = std::min(b.x + b.w, tex_width);
    const int y0 = std::max(b.y, 0), y1 = std::min(b.y + b.h, tex_height);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::size_t texel = static_cast<std::size_t>(y) * tex_width + x;
            if ((mask[texel] >> 5) != region)
                continue;
            const int amount = 4 * (mask[texel] & 31);
            for (std::size_t c = texel * 3; c < texel * 3 + 3; ++c) {
                // Darkening stops at black rather than wrapping round to a bright colour.
                texture[c] = darken ? static_cast<std::uint8_t>(std::max(file_texture[c] - amount, 0))
                                    : file_texture[c];
            }
        }
    }
}

void gdi_graphics::set_globe_state(int restore_region, int mark_region, int ax, int ay) {
    angle_x = ax;
    angle_y = ay;
    if (restore_region == mark_region)
        return;
    shade_region(restore_region, false);
    shade_region(mark_region, true);
    if (!gl_initialised)
        return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, tex_width, tex_height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 texture.data());
    glDisable(GL_TEXTURE_2D);
}

} // namespace ui_impl
