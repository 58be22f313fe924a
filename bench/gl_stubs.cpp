// GL and GLU entry points that do nothing but count their calls, so that a
// scene's own per-frame work can be measured without a driver.
#include <GL/gl.h>
#include <GL/glu.h>

unsigned long gl_stub_calls = 0;

void GLAPIENTRY glMatrixMode(GLenum) { ++gl_stub_calls; }
void GLAPIENTRY glLoadMatrixf(const GLfloat*) { ++gl_stub_calls; }
void GLAPIENTRY glLoadIdentity() { ++gl_stub_calls; }
void GLAPIENTRY glTranslatef(GLfloat, GLfloat, GLfloat) { ++gl_stub_calls; }
void GLAPIENTRY glRotatef(GLfloat, GLfloat, GLfloat, GLfloat) { ++gl_stub_calls; }
void GLAPIENTRY gluPerspective(GLdouble, GLdouble, GLdouble, GLdouble) { ++gl_stub_calls; }
void GLAPIENTRY glColorPointer(GLint, GLenum, GLsizei, const GLvoid*) { ++gl_stub_calls; }
void GLAPIENTRY glVertexPointer(GLint, GLenum, GLsizei, const GLvoid*) { ++gl_stub_calls; }
void GLAPIENTRY glEnableClientState(GLenum) { ++gl_stub_calls; }
void GLAPIENTRY glDisableClientState(GLenum) { ++gl_stub_calls; }
void GLAPIENTRY glDrawElements(GLenum, GLsizei, GLenum, const GLvoid*) { ++gl_stub_calls; }
void GLAPIENTRY glBegin(GLenum) { ++gl_stub_calls; }
void GLAPIENTRY glEnd() { ++gl_stub_calls; }
void GLAPIENTRY glColor3fv(const GLfloat*) { ++gl_stub_calls; }
void GLAPIENTRY glVertex2fv(const GLfloat*) { ++gl_stub_calls; }
