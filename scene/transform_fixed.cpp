// The fixed-function transform stage: OpenGL's own matrix calls.
#include "scene/transform.hpp"

#include <GL/gl.h>
#include <GL/glu.h>

void fixed_projection(int /*width*/, int /*height*/) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The same float constants as the library stage, widened to double.
    gluPerspective(view::fovy_degrees, view::aspect, view::z_near, view::z_far);
}

void fixed_modelview(float time) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -view::quad_distance);
    glRotatef(time * rotation_rate, 0, 0, 1);
}
