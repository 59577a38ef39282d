/**
 * @fileoverview The names the page's own scripts use of the game's
 * JavaScript, kept by the Closure Compiler (cmake/WebPage.cmake): the file
 * system's calls (the key bindings' file, the recording, the device a
 * watched file is read through), what that device's operations and
 * streams hold (platform/backends/web/page/watched-file.js), and what the
 * game tells the page of a watch (the browser's WebMain.cpp).
 * @externs
 */
var VorbloxPageNames = {};
VorbloxPageNames.writeFile;
VorbloxPageNames.readFile;
VorbloxPageNames.mkdir;
VorbloxPageNames.mkdev;
VorbloxPageNames.makedev;
VorbloxPageNames.registerDevice;
VorbloxPageNames.ErrnoError;
VorbloxPageNames.open;
VorbloxPageNames.close;
VorbloxPageNames.read;
VorbloxPageNames.poll;
VorbloxPageNames.seekable;
VorbloxPageNames.watching;
VorbloxPageNames.played;
VorbloxPageNames.total;
VorbloxPageNames.speed;
VorbloxPageNames.paused;
VorbloxPageNames.seeking;
VorbloxPageNames.from;
