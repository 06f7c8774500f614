#include "render/gl_renderer.h"

#include "render/gl_font.h"
#include "render/lighting.h"

#include <GL/freeglut.h>

namespace {

// A window's context is current: without one (before the window, after it is gone) lists
// are neither made nor freed.
bool contextCurrent() {
    return glutGetWindow() != 0;
}

// Call with the identity model-view, so that the light stays in eye space.
void applyLights() {
    const LightModelParams& m = LightModel;
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, m.ambient);
    glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, m.localViewer);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, m.twoSide);
    const LightParams& l = Light0;
    glLightfv(GL_LIGHT0, GL_AMBIENT, l.ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, l.diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, l.specular);
    glLightfv(GL_LIGHT0, GL_POSITION, l.position);
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, l.spotDirection);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, l.spotExponent);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, l.spotCutoff);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, l.constantAttenuation);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, l.linearAttenuation);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, l.quadraticAttenuation);
}

void enable(GLenum capability, bool on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

void applyPlacement(const Placement& placement) {
    for (int i = 0; i < placement.count; ++i) {
        const PlaceStep& step = placement.steps[i];
        if (step.kind == PlaceStep::Kind::Move) {
            glTranslatef(step.x, step.y, step.z);
        } else {
            glRotatef(step.degrees, step.x, step.y, step.z);
        }
    }
}

void compilePart(const MeshPart& part) {
    if (part.coloured) {
        glColor3f(part.colour.r, part.colour.g, part.colour.b);
    }
    if (part.shape == MeshPart::Shape::Sphere) {
        glutSolidSphere(part.radius, part.slices, part.stacks);
        return;
    }
    glBegin(GL_QUAD_STRIP);
    for (const MeshVertex& v : part.vertices) {
        glNormal3f(v.normal.x, v.normal.y, v.normal.z);
        glVertex3f(v.position.x, v.position.y, v.position.z);
    }
    glEnd();
}

} // namespace

void GlRenderer::setUp(const DrawOptions& chosen) {
    options = chosen;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    applyLights();
    glDepthFunc(GL_LESS);
    enable(GL_DEPTH_TEST, options.depthBuffer);
    enable(GL_NORMALIZE, options.normalize);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_LINE);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    buildFont();
    setMeshStore(this);
}

void GlRenderer::setView(int x, int y, int side, int textScale) {
    glViewport(x, y, side, side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-FrustumHalfWidth, FrustumHalfWidth, -FrustumHalfWidth, FrustumHalfWidth, FrustumNear,
              FrustumFar);
    glMatrixMode(GL_MODELVIEW);
    setTextScale(textScale);
}

void GlRenderer::beginFrame() {
    glClear(GL_COLOR_BUFFER_BIT);
    if (options.depthBuffer) {
        glClear(GL_DEPTH_BUFFER_BIT);
    }
}

void GlRenderer::setMaterial(const Material& m) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, m.ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
    glMaterialfv(GL_FRONT, GL_SHININESS, &m.shininess);
    glMaterialfv(GL_FRONT, GL_EMISSION, m.emission);
}

void GlRenderer::trackColours(bool on) {
    if (on) {
        glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
    } else {
        glDisable(GL_COLOR_MATERIAL);
    }
}

void GlRenderer::drawMesh(int name, const Placement& placement, const Colour& colour) {
    glColor3f(colour.r, colour.g, colour.b);
    drawMesh(name, placement);
}

void GlRenderer::drawMesh(int name, const Placement& placement) {
    glPushMatrix();
    applyPlacement(placement);
    glCallList(name);
    glPopMatrix();
}

// Mesa updates a tracked material only when the colour changes: after a frame that drew no
// ball the colour is still this cyan and the material would stay grey. Setting it outright
// leaves the same state everywhere.
void GlRenderer::beginTexts() {
    glColor3fv(TextColour);
    glDisable(GL_COLOR_MATERIAL);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, TextColour);
    glNormal3fv(TextNormal);
}

void GlRenderer::drawText(float x, float y, std::string_view text) {
    glRasterPos3f(x, y, TextDepth);
    ::drawText(text);
}

std::vector<unsigned char> GlRenderer::readPicture(int width, int height) {
    constexpr std::size_t RgbBytes = 3;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * RgbBytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int GlRenderer::replace(int name, const Mesh& mesh) {
    if (!contextCurrent()) {
        return 0;
    }
    if (glIsList(name)) {
        glDeleteLists(name, 1);
    }
    name = static_cast<int>(glGenLists(1));
    glNewList(name, GL_COMPILE);
    for (const MeshPart& part : mesh.parts) {
        compilePart(part);
    }
    glEndList();
    return name;
}

void GlRenderer::release(int name) {
    if (contextCurrent() && glIsList(name)) {
        glDeleteLists(name, 1);
    }
}
