#include "display/web/WebOutput.h"

#include "convert/ConvertFrame.h"

#include <emscripten.h>

namespace duskhall {

// clang-format off
EM_JS(int, duskhallGlOpen, (const char* selector, int width, int height), {
    const canvas = document.querySelector(UTF8ToString(selector));
    const gl = canvas && canvas.getContext('webgl', {
        alpha: false, antialias: false, depth: false, stencil: false,
        premultipliedAlpha: false, preserveDrawingBuffer: true });
    if (!gl) {
        return 0;
    }
    // The canvas's own pixels are the frame's, also after a change of frame size.
    canvas.width = width;
    canvas.height = height;
    const shader = (type, text) => {
        const s = gl.createShader(type);
        gl.shaderSource(s, text);
        gl.compileShader(s);
        return s;
    };
    const program = gl.createProgram();
    // Texture rows run top to bottom like the framebuffer's.
    gl.attachShader(program, shader(gl.VERTEX_SHADER,
        'attribute vec2 p; varying vec2 t;' +
        'void main() { t = vec2(p.x + 1.0, 1.0 - p.y) * 0.5; gl_Position = vec4(p, 0.0, 1.0); }'));
    gl.attachShader(program, shader(gl.FRAGMENT_SHADER,
        '#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\nprecision mediump float;\n#endif\n' +
        'uniform sampler2D s; varying vec2 t;' +
        'void main() { gl_FragColor = vec4(texture2D(s, t).rgb, 1.0); }'));
    gl.linkProgram(program);
    if (!gl.getProgramParameter(program, gl.LINK_STATUS)) {
        return 0;
    }
    const buffer = gl.createBuffer();
    gl.bindBuffer(gl.ARRAY_BUFFER, buffer);
    gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([-1, -1, 1, -1, -1, 1, 1, 1]), gl.STATIC_DRAW);
    const texture = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
    gl.pixelStorei(gl.UNPACK_ALIGNMENT, 1);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, width, height, 0, gl.RGBA, gl.UNSIGNED_BYTE, null);
    gl.useProgram(program);
    const position = gl.getAttribLocation(program, 'p');
    gl.enableVertexAttribArray(position);
    gl.vertexAttribPointer(position, 2, gl.FLOAT, false, 0, 0);
    gl.viewport(0, 0, width, height);
    gl.clearColor(0, 0, 0, 1);
    canvas.duskhallOutput = { gl: gl, program: program, buffer: buffer, texture: texture,
                              bytes: width * height * 4, width: width, height: height };
    return 1;
});

EM_JS(void, duskhallGlPresent, (const char* selector, const unsigned char* bytes, int hasFrame), {
    const canvas = document.querySelector(UTF8ToString(selector));
    const output = canvas && canvas.duskhallOutput;
    if (!output) {
        return;
    }
    const gl = output.gl;
    gl.clear(gl.COLOR_BUFFER_BIT);
    if (hasFrame) {
        // One view of the frame's bytes for the output's life: nothing new per frame.
        if (!output.view || output.view.buffer !== HEAPU8.buffer || output.view.byteOffset !== bytes) {
            output.view = HEAPU8.subarray(bytes, bytes + output.bytes);
        }
        gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, output.width, output.height, gl.RGBA,
                         gl.UNSIGNED_BYTE, output.view);
        gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
    }
});

EM_JS(void, duskhallGlClose, (const char* selector), {
    const canvas = document.querySelector(UTF8ToString(selector));
    const output = canvas && canvas.duskhallOutput;
    if (!output) {
        return;
    }
    const gl = output.gl;
    gl.clear(gl.COLOR_BUFFER_BIT);
    gl.deleteTexture(output.texture);
    gl.deleteBuffer(output.buffer);
    gl.deleteProgram(output.program);
    delete canvas.duskhallOutput;
});
// clang-format on

std::unique_ptr<WebOutput> WebOutput::create(const char* canvas, std::int32_t width,
                                             std::int32_t height) {
    if (width <= 0 || height <= 0 || duskhallGlOpen(canvas, width, height) == 0) {
        return nullptr;
    }
    std::unique_ptr<WebOutput> output(new WebOutput());
    output->canvas_ = canvas;
    output->width_ = width;
    output->height_ = height;
    output->bytes_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4,
                          0);
    return output;
}

WebOutput::~WebOutput() {
    duskhallGlClose(canvas_);
}

bool WebOutput::update(const PackedPixel* pixels, const FloatPixel* floatPixels) {
    const auto width = static_cast<std::uint32_t>(width_);
    const bool packed = pixels != nullptr;
    const bool converted =
        packed ? convertFrame(PixelFormat::XRGB8888, pixels,
                              static_cast<std::ptrdiff_t>(width * sizeof(PackedPixel)),
                              PixelFormat::XBGR8888, bytes_.data(), 4 * width, width,
                              static_cast<std::uint32_t>(height_))
               : convertFrame(PixelFormat::FloatingPoint, floatPixels,
                              static_cast<std::ptrdiff_t>(width * sizeof(FloatPixel)),
                              PixelFormat::XBGR8888, bytes_.data(), 4 * width, width,
                              static_cast<std::uint32_t>(height_));
    hasFrame_ = hasFrame_ || converted;
    return present() && converted;
}

bool WebOutput::present() {
    duskhallGlPresent(canvas_, bytes_.data(), hasFrame_ ? 1 : 0);
    return true;
}

} // namespace duskhall
