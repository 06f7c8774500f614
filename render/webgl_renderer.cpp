#include "render/webgl_renderer.h"

#include "engine/frame_view.h"
#include "render/fixed_function.h"
#include "render/font.h"
#include "render/lighting.h"

#include <GLES2/gl2.h>
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <emscripten/html5.h>

namespace {

constexpr GLuint PositionSlot = 0;
constexpr GLuint NormalSlot = 1;
constexpr GLuint GlyphSlot = 2;

// The fixed-function lighting of one directional light and the light model's ambient, per
// vertex (Gouraud), with the material's emission, ambient, diffuse, specular and shininess.
// A normal is used at the length it has unless normalising is on; the specular term counts
// only where the diffuse one does, and each channel is clamped to 0..1 as OpenGL does.
constexpr const char* VertexShader = R"(
attribute vec3 aPosition;
attribute vec3 aNormal;
attribute vec2 aGlyph;
uniform mat4 uModelViewProjection;
uniform mat3 uNormalMatrix;
uniform bool uNormalize;
uniform vec4 uEmission;
uniform vec4 uAmbient;
uniform vec4 uDiffuse;
uniform vec4 uSpecular;
uniform float uShininess;
uniform vec4 uModelAmbient;
uniform vec4 uLightAmbient;
uniform vec4 uLightDiffuse;
uniform vec4 uLightSpecular;
uniform vec3 uToLight;
uniform vec3 uHalfVector;
varying vec4 vColour;
varying vec2 vGlyph;
void main() {
    vec3 n = uNormalMatrix * aNormal;
    if (uNormalize) {
        n = normalize(n);
    }
    float diffuse = dot(n, uToLight);
    float specular = 0.0;
    if (diffuse > 0.0) {
        float towardsHalf = max(dot(n, uHalfVector), 0.0);
        specular = uShininess == 0.0 ? 1.0 : pow(towardsHalf, uShininess);
    }
    vec4 lit = uEmission + uAmbient * uModelAmbient + uAmbient * uLightAmbient +
               max(diffuse, 0.0) * uDiffuse * uLightDiffuse + specular * uSpecular * uLightSpecular;
    vColour = vec4(clamp(lit.rgb, 0.0, 1.0), clamp(uDiffuse.a, 0.0, 1.0));
    vGlyph = aGlyph;
    gl_Position = uModelViewProjection * vec4(aPosition, 1.0);
}
)";

// Texts keep only the atlas's set pixels, as glBitmap draws only a bitmap's ones.
constexpr const char* FragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform bool uGlyphs;
uniform sampler2D uAtlas;
varying vec4 vColour;
varying vec2 vGlyph;
void main() {
    if (uGlyphs && texture2D(uAtlas, vGlyph).a < 0.5) {
        discard;
    }
    gl_FragColor = vColour;
}
)";

struct Uniforms {
    GLint modelViewProjection;
    GLint normalMatrix;
    GLint normalize;
    GLint emission;
    GLint ambient;
    GLint diffuse;
    GLint specular;
    GLint shininess;
    GLint modelAmbient;
    GLint lightAmbient;
    GLint lightDiffuse;
    GLint lightSpecular;
    GLint toLight;
    GLint halfVector;
    GLint glyphs;
    GLint atlas;
};

// A mesh in one vertex buffer of (normal, position) pairs; each part triangles or a
// triangle strip.
struct StoredPart {
    bool coloured;
    Colour colour;
    GLenum mode;
    GLint first;
    GLsizei count;
};

struct StoredMesh {
    GLuint buffer = 0; // 0: a free slot
    std::vector<StoredPart> parts;
};

struct MeshVertices {
    std::vector<MeshVertex> vertices;
    std::vector<StoredPart> parts;
};

void addPart(MeshVertices& out, const MeshPart& part) {
    const bool sphere = part.shape == MeshPart::Shape::Sphere;
    const std::vector<MeshVertex> vertices =
        sphere ? sphereStrip(part.radius, part.slices, part.stacks) : quadTriangles(part.vertices);
    out.parts.push_back(
        {part.coloured, part.colour, static_cast<GLenum>(sphere ? GL_TRIANGLE_STRIP : GL_TRIANGLES),
         static_cast<GLint>(out.vertices.size()), static_cast<GLsizei>(vertices.size())});
    out.vertices.insert(out.vertices.end(), vertices.begin(), vertices.end());
}

// The glyphs of one text scale side by side in an alpha texture: code c in cell c - 32,
// AtlasColumns to a row, each glyph's bottom row lowest.
constexpr int AtlasColumns = 16;
constexpr int AtlasRows = (GlyphCount + AtlasColumns - 1) / AtlasColumns;
constexpr unsigned char SetTexel = 255;

struct Atlas {
    GLuint texture = 0;
    int width = 0;
    int height = 0;
};

Atlas buildAtlas(int scale) {
    Atlas atlas;
    const int cellWidth = GlyphWidth * scale;
    const int cellHeight = GlyphHeight * scale;
    atlas.width = AtlasColumns * cellWidth;
    atlas.height = AtlasRows * cellHeight;
    std::vector<unsigned char> texels(static_cast<std::size_t>(atlas.width) * atlas.height, 0);
    for (int glyph = 0; glyph < GlyphCount; ++glyph) {
        const std::vector<unsigned char> rows = scaledGlyph(&glyphRows[glyph * GlyphHeight], scale);
        const int left = glyph % AtlasColumns * cellWidth;
        const int bottom = glyph / AtlasColumns * cellHeight;
        for (int y = 0; y < cellHeight; ++y) {
            for (int x = 0; x < cellWidth; ++x) {
                if ((rows[static_cast<std::size_t>(y * scale + x / 8)] & (0x80 >> (x % 8))) != 0) {
                    texels[static_cast<std::size_t>(bottom + y) * atlas.width + left + x] =
                        SetTexel;
                }
            }
        }
    }
    glGenTextures(1, &atlas.texture);
    glBindTexture(GL_TEXTURE_2D, atlas.texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, atlas.width, atlas.height, 0, GL_ALPHA,
                 GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return atlas;
}

// A glyph quad's corner: window pixels made clip coordinates of the whole canvas.
struct GlyphVertex {
    float x;
    float y;
    float z;
    float u;
    float v;
};

// Whether a shader compiled or the program linked (`status`); if not, says so on stderr with
// the browser's log.
template <typename GetStatus, typename GetLog>
bool built(GLuint object, GLenum status, GetStatus getStatus, GetLog getLog, const char* what) {
    GLint done = GL_FALSE;
    getStatus(object, status, &done);
    if (done != GL_TRUE) {
        char log[1024] = "";
        getLog(object, sizeof log, nullptr, log);
        std::fprintf(stderr, "tumbra: %s: %s\n", what, log);
    }
    return done == GL_TRUE;
}

GLuint compileShader(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    built(shader, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog,
          "a WebGL shader does not compile");
    return shader;
}

// 0 where the shaders do not build (said on stderr).
GLuint buildProgram() {
    const GLuint program = glCreateProgram();
    glAttachShader(program, compileShader(GL_VERTEX_SHADER, VertexShader));
    glAttachShader(program, compileShader(GL_FRAGMENT_SHADER, FragmentShader));
    glBindAttribLocation(program, PositionSlot, "aPosition");
    glBindAttribLocation(program, NormalSlot, "aNormal");
    glBindAttribLocation(program, GlyphSlot, "aGlyph");
    glLinkProgram(program);
    if (!built(program, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog,
               "the WebGL shaders do not link")) {
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

Uniforms findUniforms(GLuint program) {
    auto find = [program](const char* name) { return glGetUniformLocation(program, name); };
    return {find("uModelViewProjection"),
            find("uNormalMatrix"),
            find("uNormalize"),
            find("uEmission"),
            find("uAmbient"),
            find("uDiffuse"),
            find("uSpecular"),
            find("uShininess"),
            find("uModelAmbient"),
            find("uLightAmbient"),
            find("uLightDiffuse"),
            find("uLightSpecular"),
            find("uToLight"),
            find("uHalfVector"),
            find("uGlyphs"),
            find("uAtlas")};
}

void loadLight(const Uniforms& u) {
    const LightParams& light = Light0;
    glUniform4fv(u.modelAmbient, 1, LightModel.ambient);
    glUniform4fv(u.lightAmbient, 1, light.ambient);
    glUniform4fv(u.lightDiffuse, 1, light.diffuse);
    glUniform4fv(u.lightSpecular, 1, light.specular);
    // The light is directional (w = 0) and set under the identity model-view: its direction
    // is already in eye space.
    const Vector3f toLight = unitLength({light.position[0], light.position[1], light.position[2]});
    const Vector3f half = halfVector(toLight);
    glUniform3f(u.toLight, toLight.x, toLight.y, toLight.z);
    glUniform3f(u.halfVector, half.x, half.y, half.z);
}

// The placements are rigid (moves and turns): the normals' matrix, the inverse transpose of
// the model-view's upper 3 x 3, is that 3 x 3 itself, which is what Mesa takes for it too.
void normalMatrixOf(const Matrix4& modelView, float (&normal)[9]) {
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            normal[column * 3 + row] = modelView.m[column * 4 + row];
        }
    }
}

// Each glyph where glBitmap puts it: from the raster position, its origin offset and advance
// in window pixels. The quads cover the whole canvas (`width` by `height`) in clip
// coordinates, as bitmaps are not held to the viewport, at the raster position's depth.
std::vector<GlyphVertex> glyphQuads(const RasterPosition& at, std::string_view text,
                                    const Atlas& atlas, int scale, int width, int height) {
    const float depth = at.z * 2.0f - 1.0f;
    const float cellWidth = static_cast<float>(GlyphWidth * scale);
    const float cellHeight = static_cast<float>(GlyphHeight * scale);
    auto clipX = [width](float x) { return 2.0f * x / static_cast<float>(width) - 1.0f; };
    auto clipY = [height](float y) { return 2.0f * y / static_cast<float>(height) - 1.0f; };
    std::vector<GlyphVertex> quads;
    float penX = at.x;
    for (const char byte : text) {
        const int code = static_cast<unsigned char>(byte);
        if (code < FirstGlyphCode || code > LastGlyphCode) {
            continue;
        }
        const int glyph = code - FirstGlyphCode;
        const auto left = static_cast<float>(bitmapCorner(penX, 0.0f));
        const auto bottom =
            static_cast<float>(bitmapCorner(at.y, static_cast<float>(GlyphBaselineRow * scale)));
        penX += static_cast<float>(GlyphAdvance * scale);
        const float x0 = clipX(left);
        const float x1 = clipX(left + cellWidth);
        const float y0 = clipY(bottom);
        const float y1 = clipY(bottom + cellHeight);
        const float u0 = static_cast<float>(glyph % AtlasColumns) * cellWidth / atlas.width;
        const float u1 = u0 + cellWidth / static_cast<float>(atlas.width);
        const float v0 = static_cast<float>(glyph / AtlasColumns) * cellHeight / atlas.height;
        const float v1 = v0 + cellHeight / static_cast<float>(atlas.height);
        // Two triangles, counter-clockwise, so that culling keeps them.
        const GlyphVertex corners[6] = {{x0, y0, depth, u0, v0}, {x1, y0, depth, u1, v0},
                                        {x1, y1, depth, u1, v1}, {x0, y0, depth, u0, v0},
                                        {x1, y1, depth, u1, v1}, {x0, y1, depth, u0, v1}};
        quads.insert(quads.end(), corners, corners + 6);
    }
    return quads;
}

constexpr float IdentityNormals[9] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};

} // namespace

struct WebGlRenderer::State {
    const char* canvas;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    GLuint program = 0;
    Uniforms uniforms{};
    DrawOptions options;
    Viewport view{0, 0, 0, 0};
    Matrix4 projection = identityMatrix();
    // What OpenGL keeps between calls: the material, the current colour, whether the colour
    // stands for the material's ambient and diffuse colours.
    Material material{};
    Colour colour{1.0f, 1.0f, 1.0f};
    bool tracking = false;
    std::vector<StoredMesh> meshes; // mesh name n in slot n - 1
    Atlas atlases[MaxTextScale + 1];
    int textScale = 1;
    GLuint textBuffer = 0;

    bool drawing() const { return program != 0; }
    void setColour(const Colour& next);
    void loadMaterial() const;
};

void WebGlRenderer::State::setColour(const Colour& next) {
    colour = next;
    if (tracking) {
        const float rgba[4] = {next.r, next.g, next.b, 1.0f};
        std::copy(rgba, rgba + 4, material.ambient);
        std::copy(rgba, rgba + 4, material.diffuse);
    }
}

void WebGlRenderer::State::loadMaterial() const {
    glUniform4fv(uniforms.emission, 1, material.emission);
    glUniform4fv(uniforms.ambient, 1, material.ambient);
    glUniform4fv(uniforms.diffuse, 1, material.diffuse);
    glUniform4fv(uniforms.specular, 1, material.specular);
    glUniform1f(uniforms.shininess, material.shininess);
}

WebGlRenderer::WebGlRenderer(const char* canvas) : state(std::make_unique<State>()) {
    state->canvas = canvas;
}

WebGlRenderer::~WebGlRenderer() {
    if (state->context != 0) {
        emscripten_webgl_destroy_context(state->context);
    }
}

void WebGlRenderer::setUp(const DrawOptions& chosen) {
    State& s = *state;
    s.options = chosen;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = chosen.depthBuffer ? EM_TRUE : EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;            // OpenGL 1.1 draws aliased edges
    attributes.preserveDrawingBuffer = EM_TRUE; // pictures are read after the frame
    attributes.majorVersion = 1;
    s.context = emscripten_webgl_create_context(s.canvas, &attributes);
    if (s.context <= 0 ||
        emscripten_webgl_make_context_current(s.context) != EMSCRIPTEN_RESULT_SUCCESS) {
        std::fprintf(stderr, "tumbra: this browser gives the page no WebGL: nothing is drawn\n");
        s.context = 0;
        return;
    }
    s.program = buildProgram();
    if (!s.drawing()) {
        return;
    }
    glUseProgram(s.program);
    s.uniforms = findUniforms(s.program);
    loadLight(s.uniforms);
    glUniform1i(s.uniforms.normalize, chosen.normalize ? 1 : 0);
    glUniform1i(s.uniforms.atlas, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDepthFunc(GL_LESS);
    if (chosen.depthBuffer) {
        glEnable(GL_DEPTH_TEST);
    }
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glGenBuffers(1, &s.textBuffer);
    setMeshStore(this);
}

void WebGlRenderer::setView(int x, int y, int side, int textScale) {
    State& s = *state;
    s.view = {x, y, side, side};
    s.projection = frustumMatrix(-FrustumHalfWidth, FrustumHalfWidth, -FrustumHalfWidth,
                                 FrustumHalfWidth, FrustumNear, FrustumFar);
    s.textScale = std::clamp(textScale, 1, MaxTextScale);
}

void WebGlRenderer::beginFrame() {
    const State& s = *state;
    if (!s.drawing()) {
        return;
    }
    glViewport(s.view.x, s.view.y, s.view.width, s.view.height);
    glClear(s.options.depthBuffer ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT
                                  : GL_COLOR_BUFFER_BIT);
}

// OpenGL keeps the tracked colours as they are while colour tracking is on.
void WebGlRenderer::setMaterial(const Material& next) {
    State& s = *state;
    const Material before = s.material;
    s.material = next;
    if (s.tracking) {
        std::copy(before.ambient, before.ambient + 4, s.material.ambient);
        std::copy(before.diffuse, before.diffuse + 4, s.material.diffuse);
    }
}

// Turning tracking on takes up the current colour at once, as glEnable(GL_COLOR_MATERIAL)
// does.
void WebGlRenderer::trackColours(bool on) {
    State& s = *state;
    s.tracking = on;
    s.setColour(s.colour);
}

void WebGlRenderer::drawMesh(int name, const Placement& placement, const Colour& colour) {
    state->setColour(colour);
    drawParts(name, placement);
}

void WebGlRenderer::drawMesh(int name, const Placement& placement) {
    drawParts(name, placement);
}

void WebGlRenderer::drawParts(int name, const Placement& placement) {
    State& s = *state;
    if (!s.drawing() || name < 1 || name > static_cast<int>(s.meshes.size()) ||
        s.meshes[name - 1].buffer == 0) {
        return;
    }
    const StoredMesh& mesh = s.meshes[name - 1];
    const Matrix4 modelView = placementMatrix(placement);
    const Matrix4 all = multiply(s.projection, modelView);
    float normals[9];
    normalMatrixOf(modelView, normals);
    glUniformMatrix4fv(s.uniforms.modelViewProjection, 1, GL_FALSE, all.m);
    glUniformMatrix3fv(s.uniforms.normalMatrix, 1, GL_FALSE, normals);
    glUniform1i(s.uniforms.glyphs, 0);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.buffer);
    constexpr GLsizei Stride = sizeof(MeshVertex);
    glEnableVertexAttribArray(NormalSlot);
    glDisableVertexAttribArray(GlyphSlot);
    glEnableVertexAttribArray(PositionSlot);
    glVertexAttribPointer(NormalSlot, 3, GL_FLOAT, GL_FALSE, Stride,
                          reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
    glVertexAttribPointer(PositionSlot, 3, GL_FLOAT, GL_FALSE, Stride,
                          reinterpret_cast<const void*>(offsetof(MeshVertex, position)));
    for (const StoredPart& part : mesh.parts) {
        if (part.coloured) {
            s.setColour(part.colour);
        }
        s.loadMaterial();
        glDrawArrays(part.mode, part.first, part.count);
    }
}

// The texts' material: the current one with the text colour for ambient and diffuse, as the
// desktop sets it outright.
void WebGlRenderer::beginTexts() {
    State& s = *state;
    s.tracking = false;
    s.setColour({TextColour[0], TextColour[1], TextColour[2]});
    std::copy(TextColour, TextColour + 4, s.material.ambient);
    std::copy(TextColour, TextColour + 4, s.material.diffuse);
}

// The texts are lit under the texts' normal with the identity model-view, as the raster
// position is.
void WebGlRenderer::drawText(float x, float y, std::string_view text) {
    State& s = *state;
    const RasterPosition at = rasterPosition(s.projection, s.view, x, y, TextDepth);
    if (!s.drawing() || !at.valid) {
        return;
    }
    int width = 0;
    int height = 0;
    emscripten_webgl_get_drawing_buffer_size(s.context, &width, &height);
    // A scale's atlas is built the first time its texts are drawn.
    Atlas& atlas = s.atlases[s.textScale];
    if (atlas.texture == 0) {
        atlas = buildAtlas(s.textScale);
    }
    const std::vector<GlyphVertex> quads = glyphQuads(at, text, atlas, s.textScale, width, height);
    if (quads.empty()) {
        return;
    }
    const Matrix4 identity = identityMatrix();
    glViewport(0, 0, width, height);
    glUniformMatrix4fv(s.uniforms.modelViewProjection, 1, GL_FALSE, identity.m);
    glUniformMatrix3fv(s.uniforms.normalMatrix, 1, GL_FALSE, IdentityNormals);
    glUniform1i(s.uniforms.glyphs, 1);
    s.loadMaterial();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, atlas.texture);
    glBindBuffer(GL_ARRAY_BUFFER, s.textBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(quads.size() * sizeof(GlyphVertex)),
                 quads.data(), GL_STREAM_DRAW);
    glDisableVertexAttribArray(NormalSlot);
    glVertexAttrib3fv(NormalSlot, TextNormal);
    glEnableVertexAttribArray(PositionSlot);
    glEnableVertexAttribArray(GlyphSlot);
    constexpr GLsizei Stride = sizeof(GlyphVertex);
    glVertexAttribPointer(PositionSlot, 3, GL_FLOAT, GL_FALSE, Stride,
                          reinterpret_cast<const void*>(offsetof(GlyphVertex, x)));
    glVertexAttribPointer(GlyphSlot, 2, GL_FLOAT, GL_FALSE, Stride,
                          reinterpret_cast<const void*>(offsetof(GlyphVertex, u)));
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(quads.size()));
    glViewport(s.view.x, s.view.y, s.view.width, s.view.height);
}

// WebGL reads RGBA only; the alpha is dropped.
std::vector<unsigned char> WebGlRenderer::readPicture(int width, int height) {
    constexpr std::size_t Rgb = 3;
    constexpr std::size_t Rgba = 4;
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    std::vector<unsigned char> picture(pixels * Rgb, 0);
    if (!state->drawing()) {
        return picture;
    }
    std::vector<unsigned char> rgba(pixels * Rgba);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (std::size_t i = 0; i < pixels; ++i) {
        std::copy_n(&rgba[i * Rgba], Rgb, &picture[i * Rgb]);
    }
    return picture;
}

int WebGlRenderer::replace(int name, const Mesh& mesh) {
    State& s = *state;
    if (!s.drawing()) {
        return 0;
    }
    release(name);
    MeshVertices built;
    for (const MeshPart& part : mesh.parts) {
        addPart(built, part);
    }
    StoredMesh stored;
    stored.parts = std::move(built.parts);
    glGenBuffers(1, &stored.buffer);
    glBindBuffer(GL_ARRAY_BUFFER, stored.buffer);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(built.vertices.size() * sizeof(MeshVertex)),
                 built.vertices.data(), GL_STATIC_DRAW);
    const auto slot = std::find_if(s.meshes.begin(), s.meshes.end(),
                                   [](const StoredMesh& m) { return m.buffer == 0; });
    if (slot != s.meshes.end()) {
        *slot = std::move(stored);
        return static_cast<int>(slot - s.meshes.begin()) + 1;
    }
    s.meshes.push_back(std::move(stored));
    return static_cast<int>(s.meshes.size());
}

void WebGlRenderer::release(int name) {
    State& s = *state;
    if (!s.drawing() || name < 1 || name > static_cast<int>(s.meshes.size())) {
        return;
    }
    StoredMesh& mesh = s.meshes[name - 1];
    if (mesh.buffer != 0) {
        glDeleteBuffers(1, &mesh.buffer);
        mesh = StoredMesh{};
    }
}
