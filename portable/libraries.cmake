# The portable program's libraries. freeglut and GLU are linked in from Debian's static
# archives, since many desktops lack them; GL is libGL.so.1, which every desktop with a GL
# driver has (CMake would otherwise pick the GLVND pair libOpenGL.so.0 + libGLX.so.0, which not
# every distribution installs); the X11 client libraries are freeglut's own.
set(OpenGL_GL_PREFERENCE LEGACY)
find_library(ORVESSA_GLUT_ARCHIVE libglut.a REQUIRED)
find_library(OPENGL_glu_LIBRARY libGLU.a REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(X11 REQUIRED)
if(NOT TARGET X11::Xi OR NOT TARGET X11::Xxf86vm)
  message(FATAL_ERROR "freeglut's X11 libraries (Xi, Xxf86vm) not found")
endif()
add_library(GLUT::GLUT STATIC IMPORTED)
set_target_properties(GLUT::GLUT PROPERTIES
  IMPORTED_LOCATION ${ORVESSA_GLUT_ARCHIVE}
  INTERFACE_LINK_LIBRARIES "OpenGL::GL;X11::Xi;X11::Xxf86vm;X11::X11;m")
# Only the libraries the program calls are recorded as needed.
add_link_options(-Wl,--as-needed)
