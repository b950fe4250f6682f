// Looks at the frames the game shows, from inside the page, at the moment the
// game swaps them (Module.frameListeners in web/index.html). Added to every page
// load by web-test.mjs; nothing here knows the game's rules.
window.quendleTest = (() => {
  const size = 600;
  const background = [153, 153, 179];
  const references = {};
  let lastResult = null;

  // The whole frame, top row first, RGBA, at the game's 600 x 600: a drawing
  // buffer of another size is sampled at the middle of each game pixel.
  function readFrame() {
    const gl = GLctx;
    const width = gl.drawingBufferWidth, height = gl.drawingBufferHeight;
    const bottomUp = new Uint8Array(width * height * 4);
    gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, bottomUp);
    const source = new Uint32Array(bottomUp.buffer);
    const frame = new Uint32Array(size * size);
    for (let y = 0; y < size; y++) {
      const row = (height - 1 - Math.floor(((y + 0.5) * height) / size)) * width;
      for (let x = 0; x < size; x++) frame[y * size + x] = source[row + Math.floor(((x + 0.5) * width) / size)];
    }
    return new Uint8Array(frame.buffer);
  }

  function isBackground(frame, i) {
    return Math.abs(frame[i] - background[0]) <= 3 && Math.abs(frame[i + 1] - background[1]) <= 3 &&
      Math.abs(frame[i + 2] - background[2]) <= 3;
  }

  function hash(frame) {
    let h = 2166136261;
    for (let i = 0; i < frame.length; i++) h = Math.imul(h ^ frame[i], 16777619);
    return h >>> 0;
  }

  const fieldRows = 530;

  // The balls as blobs (centre, lowest row, whether all of it shows, colour), lowest first.
  function balls(frame) {
    const found = [];
    const seen = new Uint8Array(size * fieldRows);
    for (let start = 0; start < size * fieldRows; start++) {
      if (seen[start] || isBackground(frame, start * 4)) continue;
      const stack = [start];
      seen[start] = 1;
      let n = 0, sx = 0, sy = 0, minY = fieldRows, maxY = 0, red = 0, blue = 0;
      while (stack.length) {
        const p = stack.pop();
        const x = p % size, y = (p - x) / size;
        n++; sx += x; sy += y; minY = Math.min(minY, y); maxY = Math.max(maxY, y);
        red += frame[p * 4]; blue += frame[p * 4 + 2];
        for (const q of [p - 1, p + 1, p - size, p + size]) {
          const qx = q % size;
          if (q < 0 || q >= size * fieldRows || Math.abs(qx - x) > 1 || seen[q]) continue;
          if (isBackground(frame, q * 4)) continue;
          seen[q] = 1;
          stack.push(q);
        }
      }
      if (n > 1000) {
        const whole = minY > 0 && maxY < fieldRows - 1;
        found.push({ x: sx / n, y: sy / n, bottom: maxY, whole, color: blue > red ? 'blue' : 'red' });
      }
    }
    return found.sort((a, b) => b.bottom - a.bottom);
  }

  // A hash of the pixels of the status line between x0 and x1.
  function statusPart(frame, x0, x1) {
    let h = 0;
    for (let y = 550; y < 580; y++) h = (h * 31 + hash(frame.subarray((y * size + x0) * 4, (y * size + x1) * 4))) >>> 0;
    return h;
  }

  function compare(frame, reference, tolerance) {
    let maxDiff = 0, over = 0;
    for (let p = 0; p < size * size; p++) {
      let worst = 0;
      for (let c = 0; c < 3; c++) worst = Math.max(worst, Math.abs(frame[p * 4 + c] - reference[p * 4 + c]));
      maxDiff = Math.max(maxDiff, worst);
      if (worst > tolerance) over++;
    }
    return { maxDiff, over };
  }

  const checks = {
    // The frame once it matches the reference picture, or the last difference.
    reference: (frame, { name, tolerance }) => {
      const result = compare(frame, references[name], tolerance);
      lastResult = result;
      return result.over === 0 ? result : null;
    },
    hashIs: (frame, { expected }) => (hash(frame) === expected ? { hash: expected } : null),
    any: (frame) => ({ hash: hash(frame) }),
    // The balls of the first frame that shows any (of `color`, with none
    // below it in its column, as `target`), and when that frame was shown.
    balls: (frame, { color }) => {
      const found = balls(frame);
      const open = (ball) => !found.some((other) => other.bottom > ball.bottom && Math.abs(other.x - ball.x) < 64);
      const target = found.find((ball) => (!color || ball.color === color) && open(ball));
      const level = statusPart(frame, 265, 380);
      return target ? { balls: found, target, level, time: Module.lastFrameTime } : null;
    },
    // The status line's points ("Points: N" from x 30) and lives (from x
    // 150), as hashes of their pixels, once the points differ from `points`.
    status: (frame, { points }) => {
      const now = { points: statusPart(frame, 25, 140), lives: statusPart(frame, 145, 260) };
      return points === undefined || now.points !== points ? now : null;
    },
  };

  // When the page's timers were held up beyond 100 ms: a stall that long
  // makes the level's clock forgive ticks. [end time, delay] pairs.
  const stalls = [];
  (function probe(last) {
    setTimeout(() => {
      const now = performance.now();
      if (now - last > 100) stalls.push([now, now - last]);
      probe(now);
    }, 10);
  })(performance.now());

  // Every frame goes to the watch under way, and one every RecordEveryMs to
  // the recording, if there is one: reading and searching a frame takes the
  // page long enough to hold up the level's clock if it were done every frame.
  const RecordEveryMs = 1000;
  let watcher = null;
  let recording = null;
  // First of the page's frame listeners: it sees each frame before touch.js
  // fits the drawing buffer to the page, which clears it.
  function listen() {
    if (!Module.frameListeners.includes(onFrameShown)) Module.frameListeners.unshift(onFrameShown);
  }
  function onFrameShown() {
    if (recording && Module.lastFrameTime - (recording.at(-1)?.time ?? 0) >= RecordEveryMs) {
      const frame = readFrame();
      recording.push({ time: Module.lastFrameTime, balls: balls(frame), level: statusPart(frame, 265, 380) });
      if (watcher) watcher(frame);
    } else if (watcher) {
      watcher(readFrame());
    }
  }

  return {
    startRecording() {
      recording = [];
      listen();
    },
    // The lowest ball of the latest sample when it is below `row` and the
    // sample is later than `after`, else null.
    lowBall(row, after) {
      const latest = recording && recording.at(-1);
      if (!latest || latest.time <= after || !latest.balls.length) return null;
      return latest.balls[0].bottom > row ? { ...latest.balls[0], time: latest.time } : null;
    },
    stopRecording() {
      const samples = recording;
      recording = null;
      return { samples, stalls };
    },
    // "moon" as the browser's database holds it: when it was written (ms) and
    // its names, best first, joined by commas.
    stored: () => new Promise((resolve) => {
      indexedDB.open('/scores').onsuccess = ({ target: { result: db } }) => {
        db.transaction('FILE_DATA').objectStore('FILE_DATA').get('/scores/moon').onsuccess = ({ target: { result } }) => {
          const lines = result ? new TextDecoder().decode(result.contents).split('\n') : [];
          resolve({ time: result?.timestamp.getTime(), names: lines.filter((line, i) => i % 2 === 0 && line).join() });
          db.close();
        };
      };
    }),
    async loadReference(name) {
      const image = new Image();
      image.src = `/reference/${name}.png`;
      await image.decode();
      const canvas = document.createElement('canvas');
      canvas.width = size;
      canvas.height = size;
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      references[name] = context.getImageData(0, 0, size, size).data;
    },
    // Resolves with the result of the first frame that passes the named
    // check, or with {timedOut, last} after timeoutMs.
    watch(name, args, timeoutMs) {
      lastResult = null;
      listen();
      return new Promise((resolve) => {
        const timer = setTimeout(() => {
          watcher = null;
          resolve({ timedOut: true, last: lastResult });
        }, timeoutMs);
        watcher = (frame) => {
          const result = checks[name](frame, args || {});
          if (result) {
            clearTimeout(timer);
            watcher = null;
            resolve(result);
          }
        };
      });
    },
  };
})();
