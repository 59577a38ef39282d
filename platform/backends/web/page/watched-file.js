// A recording the player opened, handed to the game as it plays it: read
// from the file in pieces, a few ahead of the game, and never held whole,
// so that a file of any size plays in the same small memory and the page
// never stops to read it. The game sees a device in its file system under
// the file's own name, so its title and its messages name the player's
// file.
"use strict";
var VorbloxWatchedFile = (function() {
  var FOLDER = "/watched";
  // Read ahead of the game: pieces of a mebibyte, two at a time. The game
  // takes at most a line (some tens of bytes) a tick. Tests make them small
  // and slow (delay, in milliseconds before each piece) to have the game
  // wait for its next line.
  var options = { piece: 1 << 20, ahead: 2, delay: 0 };
  var POLLIN = 1, EAGAIN = 6, EIO = 29;  // Emscripten's numbers
  var NEWLINE = 10;
  // Longer than any line of a recording (the game refuses lines of over
  // 400 bytes); a "line" this long goes to the game as it is, to be refused.
  var LONGEST = 4096;

  // Pieces end at a line's end, so that whenever the game's reader is told
  // there is something to read, a whole line has come.
  function open(file) {
    var source = { name: file.name, file: file, pieces: [], held: 0, at: 0, carry: null,
                   ended: false, failed: false, reading: false, ready: null };
    source.ready = new Promise(function(resolve) { source.onPiece = resolve; });
    fill(source);
    return source;
  }

  function join(a, b) {
    if (!a) return b;
    var both = new Uint8Array(a.length + b.length);
    both.set(a);
    both.set(b, a.length);
    return both;
  }

  function add(source, piece) {
    if (piece.length) {
      source.pieces.push(piece);
      source.held += piece.length;
    }
    var told = source.onPiece;
    source.onPiece = null;
    if (told) told();
    // Wakes the game should it wait for its next line (BrowserWait.cpp).
    window.dispatchEvent(new Event("vorbloxinput"));
  }

  function fill(source) {
    if (source.reading || source.ended || source.failed || source.held >= options.ahead * options.piece) return;
    source.reading = true;
    var end = Math.min(source.file.size, source.at + options.piece);
    var wait = new Promise(function(resolve) { setTimeout(resolve, options.delay); });
    wait.then(function() { return source.file.slice(source.at, end).arrayBuffer(); }).then(function(buffer) {
      source.reading = false;
      source.at = end;
      var bytes = join(source.carry, new Uint8Array(buffer));
      source.carry = null;
      if (end >= source.file.size) {
        // A last line without its end goes as it is: the reader says it was cut.
        source.ended = true;
        add(source, bytes);
        return;
      }
      var last = bytes.lastIndexOf(NEWLINE);
      if (last < 0 && bytes.length < LONGEST) {
        source.carry = bytes;
      } else {
        var cut = last < 0 ? bytes.length : last + 1;
        source.carry = cut < bytes.length ? bytes.slice(cut) : null;
        add(source, bytes.subarray(0, cut));
      }
      fill(source);
    }, function() {
      // The file went away or changed: the game's read fails and says so.
      source.reading = false;
      source.failed = true;
      add(source, new Uint8Array(0));
    });
  }

  function path(source) { return FOLDER + "/" + source.name; }

  // Makes the device path(source) in `module`'s file system.
  function mount(module, source) {
    var FS = module.FS;
    var device = FS.makedev(99, 0), first = source;
    FS.registerDevice(device, {
      // The game reads the file a second time, ahead, for its length: each
      // opening reads it from the start on its own.
      open: function(stream) {
        stream.seekable = false;
        stream.source = first || open(source.file);
        first = null;
      },
      close: function() {},
      read: function(stream, buffer, offset, length) {
        var source = stream.source;
        if (!source.pieces.length) {
          if (source.failed) throw new FS.ErrnoError(EIO);
          if (source.ended) return 0;
          throw new FS.ErrnoError(EAGAIN);
        }
        var done = 0;
        while (done < length && source.pieces.length) {
          var piece = source.pieces[0], n = Math.min(piece.length, length - done);
          buffer.set(piece.subarray(0, n), offset + done);
          done += n;
          if (n === piece.length) source.pieces.shift();
          else source.pieces[0] = piece.subarray(n);
        }
        source.held -= done;
        fill(source);
        return done;
      },
      poll: function(stream) {
        var source = stream.source;
        return source.pieces.length || source.ended || source.failed ? POLLIN : 0;
      }
    });
    try { FS.mkdir(FOLDER); } catch (e) {}
    FS.mkdev(path(source), 292 /* 0444 */, device);
  }

  return { open: open, path: path, mount: mount, options: options };
})();
