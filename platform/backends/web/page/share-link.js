// Links that hold a whole game, "<page>#watch=1...", made and read here in
// the page (the form: platform/programs/WatchLink.md; the Linux programs read
// and make the same). The game in the browser never sees a link: a link's
// game reaches it as an ordinary recording. The messages are the Linux
// programs' own, so a refused link reads the same wherever it is opened.
"use strict";
var VorbloxShareLink = (function() {
  var MARK = "#watch=", FORMAT = "1";
  var LONGEST = 2 << 20;          // characters of a link, at most
  var LARGEST = 1 << 20;          // bytes of a game's steps, unpacked
  var LONGEST_STEP = 1e12;        // ticks: a script line's limit
  var MOST_TICKS = Number.MAX_SAFE_INTEGER;
  var KEY_BITS = 10;
  // The keys by their bit in a step, and in the order a script names them.
  var BY_BIT = ["LEFT", "RIGHT", "UP", "DOWN", "LSHIFT", "RSHIFT", "LCTRL", "RCTRL", "F1", "ESC"];
  var BY_NAME = ["F1", "ESC", "LEFT", "RIGHT", "UP", "DOWN", "LSHIFT", "RSHIFT", "LCTRL", "RCTRL"];
  var HEADER = "# A game of Vorblox: ticks (64 a second) and the keys held in them.";
  var DIGITS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  var CUT = "the link is cut short", ALTERED = "the link was altered";
  // A recording is read for its link a piece at a time: it may be huge.
  var PIECE = 1 << 20;

  var table = (function() {
    var t = [];
    for (var n = 0; n < 256; ++n) {
      var c = n;
      for (var k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320 ^ (c >>> 1) : c >>> 1;
      t.push(c >>> 0);
    }
    return t;
  })();
  function crc32(bytes, size) {
    var c = 0xFFFFFFFF;
    for (var i = 0; i < size; ++i) c = table[(c ^ bytes[i]) & 0xFF] ^ (c >>> 8);
    return (c ^ 0xFFFFFFFF) >>> 0;
  }

  function isBlank(c) { return c === " " || c === "\t" || c === "\r" || c === "\n" || c === "\v" || c === "\f"; }

  // As the programs tell a link from a recording: its first word begins
  // with http:// or https://, or holds #watch=.
  function looksLike(text) {
    var word = text.replace(/^\uFEFF/, "").replace(/^[ \t\r\n\v\f]+/, "").split(/[ \t\r\n\v\f]/)[0];
    return /^https?:\/\//i.test(word) || word.indexOf(MARK) >= 0;
  }

  function fail(message) { throw new Error(message); }

  // Numbers as the form writes them: base 128, least significant first.
  function putNumber(out, value) {
    while (value >= 128) {
      out.push(value % 128 + 128);
      value = Math.floor(value / 128);
    }
    out.push(value);
  }
  function takeNumber(bytes, at, end) {
    var value = 0, scale = 1;
    for (var n = 0; n < 8 && at.i < end; ++n, scale *= 128) {
      var byte = bytes[at.i++];
      value += (byte & 127) * scale;
      if (byte < 128) return value;
    }
    return -1;
  }

  function base64(bytes) {
    var text = "", bits = 0, held = 0;
    for (var i = 0; i < bytes.length; ++i) {
      bits = (bits << 8 | bytes[i]) & 0xFFFF;
      for (held += 8; held >= 6;) text += DIGITS[(bits >> (held -= 6)) & 63];
    }
    if (held) text += DIGITS[(bits << (6 - held)) & 63];
    return text;
  }
  function stray(c) { return ALTERED + ": it has '" + c + "' where only letters, digits, - and _ belong"; }
  function fromBase64(text) {
    var bytes = [], bits = 0, held = 0, digits = 0;
    for (var i = 0; i < text.length; ++i) {
      if (isBlank(text[i])) continue;  // a mail program may have wrapped it
      var d = DIGITS.indexOf(text[i]);
      if (d < 0) fail(stray(text[i]));
      ++digits;
      bits = (bits << 6 | d) & 0xFFFF;
      held += 6;
      if (held >= 8) bytes.push((bits >> (held -= 8)) & 0xFF);
    }
    return { bytes: new Uint8Array(bytes), digits: digits, loose: held === 6 || (bits & ((1 << held) - 1)) !== 0 };
  }

  function joined(chunks, size) {
    var all = new Uint8Array(size), at = 0;
    chunks.forEach(function(c) { all.set(c, at); at += c.length; });
    return all;
  }

  function deflate(bytes) {
    var stream = new Blob([bytes]).stream().pipeThrough(new CompressionStream("deflate-raw"));
    return new Response(stream).arrayBuffer().then(function(b) { return new Uint8Array(b); });
  }

  // Unpacked a little at a time, so that a small link that would unpack
  // into gigabytes is stopped at LARGEST.
  function inflate(bytes) {
    var stream = new DecompressionStream("deflate-raw");
    var writer = stream.writable.getWriter(), reader = stream.readable.getReader();
    var chunks = [], size = 0, tooLarge = false;
    var failed = false;
    var reading = (function read() {
      return reader.read().then(function(got) {
        if (got.done) return;
        size += got.value.length;
        if (size > LARGEST) {
          tooLarge = true;
          return reader.cancel();
        }
        chunks.push(got.value);
        return read();
      });
    })().catch(function() { failed = true; });
    var writing = (function write(at) {
      if (tooLarge) return;
      if (at >= bytes.length) return writer.close();
      return writer.write(bytes.subarray(at, at + 1024)).then(function() { return write(at + 1024); });
    })(0).catch(function() { failed = true; });
    return Promise.all([writing, reading]).then(function() {
      if (tooLarge) fail("the link's game is too large: it unpacks to more than " + (LARGEST >> 20) + " MiB");
      // All of it came (its length said so): a stream that wants more, or
      // will not unpack, was changed.
      if (failed) fail(ALTERED + ": it does not unpack");
      return joined(chunks, size);
    });
  }

  // Steps: [{ ticks, keys }], keys a bit set by BY_BIT. Runs of the same
  // keys are joined, and split where a script line would be too long.
  function add(steps, ticks, keys) {
    var last = steps[steps.length - 1];
    if (last && last.keys === keys && last.ticks < LONGEST_STEP) {
      var taken = Math.min(ticks, LONGEST_STEP - last.ticks);
      last.ticks += taken;
      ticks -= taken;
    }
    for (; ticks > 0; ticks -= Math.min(ticks, LONGEST_STEP)) steps.push({ ticks: Math.min(ticks, LONGEST_STEP), keys: keys });
  }

  // One line of a recording, as the game's reader takes it: a step, or
  // null for a blank line or a comment; a mistake throws, with the line.
  function parseLine(line, number) {
    var words = line.split(/[ \t\r\v\f]+/).filter(function(w) { return w; });
    if (!words.length || words[0][0] === "#") return null;
    var problem = null, keys = 0;
    if (!/^[0-9]+$/.test(words[0]) || words[0].replace(/^0+/, "").length > 13 || +words[0] < 1 || +words[0] > LONGEST_STEP)
      problem = "the count '" + words[0] + "' is not a whole number from 1 to " + LONGEST_STEP;
    else if (words.length < 2) problem = "keys are missing after the count (use - for none)";
    else if (words.length > 2) problem = "unexpected '" + words[2] + "' after the keys";
    else if (words[1] !== "-") {
      words[1].split("+").forEach(function(name) {
        var bit = BY_BIT.indexOf(name);
        if (bit < 0) problem = problem || "unknown key '" + name + "'";
        keys |= 1 << bit;
      });
    }
    if (problem) fail("line " + number + ": " + problem);
    return { ticks: +words[0], keys: keys };
  }

  // The steps of a recording (a Blob), read a piece at a time; a game too
  // long for a link is refused as soon as it shows.
  function readRecording(blob) {
    var steps = [], number = 0, carry = "", recording = false;
    var decoder = new TextDecoder();
    function take(line) {
      ++number;
      if (number === 1) {
        line = line.replace(/^\uFEFF/, "");
        recording = line.indexOf(HEADER) === 0;
      }
      var step = parseLine(line, number);
      if (step) add(steps, step.ticks, step.keys);
      if (steps.length > LARGEST) fail("the game is too long for a link: share the recording itself");
    }
    function piece(at) {
      if (at >= blob.size) {
        carry += decoder.decode();
        // The game's recordings end every line: one cut in the middle of
        // its last line plays without it, as the game's reader leaves it out.
        if (carry && !recording) {
          try { take(carry); } catch (e) { /* cut short, as the game's reader says */ }
        }
        return Promise.resolve(steps);
      }
      return blob.slice(at, at + PIECE).arrayBuffer().then(function(buffer) {
        var lines = (carry + decoder.decode(new Uint8Array(buffer), { stream: true })).split("\n");
        carry = lines.pop();
        lines.forEach(take);
        return piece(at + PIECE);
      });
    }
    return piece(0);
  }

  // A link to `address` (the page, without a fragment) holding the game
  // recorded in `blob`.
  function make(address, blob) {
    return readRecording(blob).then(function(steps) {
      var body = [], ticks = 0;
      steps.forEach(function(s) { ticks += s.ticks; });
      if (ticks > MOST_TICKS) fail("the game is too long for a link: share the recording itself");
      putNumber(body, steps.length);
      putNumber(body, ticks);
      steps.forEach(function(s) { putNumber(body, (s.ticks - 1) * 1024 + s.keys); });
      if (body.length + 4 > LARGEST) fail("the game is too long for a link: share the recording itself");
      var check = crc32(body, body.length);
      for (var i = 0; i < 4; ++i) body.push((check >>> (8 * i)) & 0xFF);
      return deflate(new Uint8Array(body));
    }).then(function(packed) {
      var framed = [];
      putNumber(framed, packed.length);
      var bytes = new Uint8Array(framed.length + packed.length);
      bytes.set(framed);
      bytes.set(packed, framed.length);
      return address + MARK + FORMAT + base64(bytes);
    });
  }

  // The steps a link holds; a link that does not hold exactly the game it
  // was made of is refused with what is wrong with it.
  function readSteps(link) {
    return Promise.resolve().then(function() {
      if (link.length > LONGEST) fail("the link is too long: no link of a game is over " + LONGEST + " characters");
      var mark = link.indexOf(MARK);
      if (mark < 0) {
        var end = link.replace(/[ \t\r\n\v\f]+$/, ""), hash = end.lastIndexOf("#");
        if (hash >= 0 && MARK.indexOf(end.slice(hash)) === 0) fail(CUT);
        fail("the link holds no game: it has no #watch= part");
      }
      var text = link.slice(mark + MARK.length).replace(/^[ \t\r\n\v\f]+/, "");
      if (!text) fail(CUT + ": nothing follows #watch=");
      if (text[0] !== FORMAT) {
        if (DIGITS.indexOf(text[0]) < 0) fail(stray(text[0]));
        fail("the link is of a newer format ('" + text[0] + "') than this game reads ('1')");
      }
      var got = fromBase64(text.slice(1)), at = { i: 0 };
      var size = takeNumber(got.bytes, at, got.bytes.length);
      if (size < 0) fail(CUT);
      if (size > LONGEST) fail(ALTERED + ": it says it is longer than any link");
      if (got.bytes.length - at.i < size) {
        var missing = Math.floor(((at.i + size) * 8 + 5) / 6) - got.digits;
        fail(CUT + (missing === 1 ? ": its last character is missing" : ": its last " + missing + " characters are missing"));
      }
      if (got.bytes.length - at.i > size || got.loose) fail(ALTERED + ": it goes on after its game");
      return inflate(got.bytes.subarray(at.i));
    }).then(function(body) {
      var end = body.length - 4;
      if (end < 0 || crc32(body, end) !== ((body[end] | body[end + 1] << 8 | body[end + 2] << 16 | body[end + 3] << 24) >>> 0))
        fail(ALTERED + ": its check does not match");
      var wrong = ALTERED + ": its steps do not add up", at = { i: 0 };
      var count = takeNumber(body, at, end), total = takeNumber(body, at, end), sum = 0, steps = [];
      if (count < 0 || total < 0 || count > end || total > MOST_TICKS) fail(wrong);
      for (var n = 0; n < count; ++n) {
        var packed = takeNumber(body, at, end), ticks = Math.floor(packed / 1024) + 1;
        if (packed < 0 || ticks > LONGEST_STEP) fail(wrong);
        steps.push({ ticks: ticks, keys: packed % 1024 });
        sum += ticks;
      }
      if (at.i !== end || sum !== total) fail(wrong);
      return steps;
    });
  }

  // The game a link holds as a recording's text, for the game to watch.
  function read(link) {
    return readSteps(link).then(function(steps) {
      var lines = [HEADER];
      steps.forEach(function(s) {
        var names = BY_NAME.filter(function(name) { return s.keys >> BY_BIT.indexOf(name) & 1; });
        lines.push(s.ticks + " " + (names.length ? names.join("+") : "-"));
      });
      return lines.join("\n") + "\n";
    });
  }

  return { MARK: MARK, looksLike: looksLike, make: make, read: read };
})();
