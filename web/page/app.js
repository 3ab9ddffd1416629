// The page: one world of the engine (bramblex.wasm) shown on a canvas, driven by the panel, with
// its options in a form built from the engine's option table.
"use strict";

(() => {
  const $ = (id) => document.getElementById(id);
  const view = { squareSize: 4, showOrganisms: true, showEnvironment: true, slowdown: 0 };
  const run = { running: false, chunk: 1, lastStep: 0, frames: 0, dirty: true, pointer: null };
  const chart = { organisms: [], environments: [], seen: 0 };
  let engine, page, table, settings = "", made = false;

  function say(text, ok = false) {
    $("message").textContent = text;
    $("message").className = ok ? "ok" : "";
  }

  function randomSeed() {
    const word = new Uint32Array(1);
    crypto.getRandomValues(word);
    return String(word[0]);
  }

  // --- The option form: one row per option of the table -------------------------------------

  function buildForm() {
    const body = document.createElement("tbody");
    for (const option of table) {
      const row = body.insertRow();
      const label = row.insertCell();
      label.textContent = option.name;
      const input = document.createElement("input");
      input.id = "option-" + option.name;
      input.dataset.name = option.name;
      if (option.kind === "flag") {
        input.type = "checkbox";
      } else {
        input.type = "text";
        if (option.kind === "integer")
          input.addEventListener("change", () => correctBox(input));
      }
      row.insertCell().append(input);
      const hint = row.insertCell();
      hint.className = "hint";
      hint.textContent = `${option.description} (${option.range}; ${option.default} by default)`;
    }
    const grid = document.createElement("table");
    grid.append(body);
    $("options").append(grid);
  }

  function boxText(input) {
    return input.type === "checkbox" ? String(input.checked) : input.value.trim();
  }

  // The options window's silent corrections of a number box, as it types.
  function correctBox(input) {
    const fixed = engine.correctedBox(input.dataset.name, input.value, settings, screen.width, screen.height);
    if (fixed !== input.value)
      input.value = fixed;
  }

  function fillForm(lines) {
    for (const line of lines.split("\n").filter(Boolean)) {
      const eq = line.indexOf("=");
      const input = $("option-" + line.slice(0, eq));
      if (!input)
        continue;
      if (input.type === "checkbox")
        input.checked = line.slice(eq + 1) === "true";
      else
        input.value = line.slice(eq + 1);
    }
  }

  // The form's settings, each checked as --set checks it: the first refusal's message, if any.
  function formSettings() {
    const lines = [];
    for (const option of table) {
      const text = boxText($("option-" + option.name));
      const problem = engine.settingProblem(option.name, text);
      if (problem)
        return { problem };
      lines.push(`${option.name}=${text}`);
    }
    return { lines: lines.join("\n") };
  }

  // --- Worlds ---------------------------------------------------------------------------------

  function shown(problem, success) {
    if (problem) {
      say(problem);
      return false;
    }
    made = true;
    settings = page.options();
    fillForm(settings);
    $("seedbox").value = page.seed();
    chart.organisms = [];
    chart.environments = [];
    chart.seen = 0;
    run.dirty = true;
    say(success || "", true);
    update();
    paint();
    return true;
  }

  function newWorld(seed, lines, success) {
    return shown(page.create(seed, lines), success);
  }

  async function loadFile(file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const seed = $("seedbox").value.trim() || randomSeed();
    if (shown(page.load(bytes, file.name, seed, ""), `${file.name} loaded`)) {
      const version = page.savedVersion();
      if (version !== page.version())
        say(`${file.name} was saved by ${version}, this is ${page.version()}; loaded anyway`, true);
    }
  }

  // --- Running and painting -------------------------------------------------------------------

  function step(generations) {
    page.run(generations);
    run.dirty = true;
  }

  // Generations for this frame: with no slowdown as many as fit in about 10 ms, each slowdown
  // step doubling a pause between single generations.
  function advance(now) {
    if (view.slowdown > 0) {
      if (now - run.lastStep >= 100 * 2 ** (view.slowdown - 1)) {
        run.lastStep = now;
        step(1);
      }
      return;
    }
    const started = performance.now();
    step(run.chunk);
    const took = performance.now() - started;
    run.chunk = Math.max(1, Math.min(1000, took < 5 ? run.chunk * 2 : took > 12 ? run.chunk >> 1 : run.chunk));
  }

  function paint() {
    const canvas = $("world");
    const size = view.squareSize;
    const width = page.gridSizeX() * size, height = page.gridSizeY() * size;
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    const pixels = new Uint8ClampedArray(page.paint(size, view.showOrganisms, view.showEnvironment));
    canvas.getContext("2d").putImageData(new ImageData(pixels, width, height), 0, 0);
    run.dirty = false;
  }

  function showCounts() {
    $("generation").textContent = page.generation();
    $("orgs").textContent = page.organisms();
    $("envs").textContent = page.environments();
    $("seed").textContent = page.seed();
  }

  function update() {
    showCounts();
    const counts = page.counts(chart.seen);
    for (let i = 0; i < counts.length; i += 2) {
      chart.organisms.push(counts[i]);
      chart.environments.push(counts[i + 1]);
    }
    chart.seen += counts.length / 2;
    drawChart();
    showReadout();
  }

  // The population of every generation run, squeezed into the chart's width.
  function drawChart() {
    const canvas = $("chart"), context = canvas.getContext("2d");
    context.clearRect(0, 0, canvas.width, canvas.height);
    const squares = page.gridSizeX() * page.gridSizeY();
    const lines = [[chart.environments, "#8b5a2b"], [chart.organisms, "#008000"]];
    for (const [values, colour] of lines) {
      if (values.length === 0)
        continue;
      context.strokeStyle = colour;
      context.beginPath();
      for (let x = 0; x < canvas.width; ++x) {
        const value = values[Math.floor(x * values.length / canvas.width)];
        const y = canvas.height - 1 - value / squares * (canvas.height - 2);
        x === 0 ? context.moveTo(x, y) : context.lineTo(x, y);
      }
      context.stroke();
    }
  }

  function showReadout() {
    if (!run.pointer)
      return;
    const r = page.readout(run.pointer.x, run.pointer.y, view.squareSize);
    const rgb = (c) => `R: ${c[0]} G: ${c[1]} B: ${c[2]}`;
    $("csquare").textContent = `${r.column},${r.row}`;
    $("organismrgb").textContent = rgb(r.organism);
    $("environmentrgb").textContent = rgb(r.environment);
  }

  function frame(now) {
    requestAnimationFrame(frame);
    if (document.hidden)
      return; // a hidden tab runs nothing
    if (run.running)
      advance(now);
    run.frames++;
    // A negative slowdown paints only every 2nd, 4th, ... frame, leaving more time to the world.
    if (run.dirty && run.frames % 2 ** Math.max(0, -view.slowdown) === 0) {
      paint();
      update();
    }
  }

  function setRunning(running) {
    run.running = running;
    $("startsim").textContent = running ? "Stop Simulation" : "Start Simulation";
  }

  // --- Files and links ------------------------------------------------------------------------

  function download(name, data, type) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(data instanceof Blob ? data : new Blob([data], { type }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  function fileStem() {
    return `bramblex-${page.seed()}-${page.generation()}`;
  }

  // The seed and every option that differs from its default.
  function shareLink() {
    const params = new URLSearchParams({ seed: page.seed() });
    const defaults = new Map(table.map((o) => [o.name, o.default]));
    for (const line of page.options().split("\n").filter(Boolean)) {
      const eq = line.indexOf("=");
      const name = line.slice(0, eq), value = line.slice(eq + 1);
      if (defaults.get(name) !== value)
        params.set(name, value);
    }
    return `${location.origin}${location.pathname}#${params}`;
  }

  // A link's world: its seed (or a new one) and its options, each checked as --set checks it. A
  // refused link leaves the world as it was (the first time: a new world of the defaults).
  function openLink() {
    const params = new URLSearchParams(location.hash.slice(1));
    const lines = [];
    for (const [name, value] of params) {
      if (name === "seed")
        continue;
      const problem = engine.settingProblem(name, value);
      if (problem) {
        if (!made)
          newWorld(randomSeed(), "");
        say(`The link was not opened: ${problem}`);
        return false;
      }
      lines.push(`${name}=${value}`);
    }
    return newWorld(params.get("seed") || randomSeed(), lines.join("\n"));
  }

  // --- Wiring -----------------------------------------------------------------------------------

  function wire() {
    $("startsim").onclick = () => setRunning(!run.running);
    $("stepgeneration").onclick = () => {
      setRunning(false);
      step(1);
      showCounts(); // at once; the world is painted with the next frame
    };
    $("resetsim").onclick = () => newWorld(page.seed(), settings);
    $("applyoptions").onclick = () => {
      const form = formSettings();
      if (form.problem)
        return say(form.problem);
      newWorld($("seedbox").value.trim() || randomSeed(), form.lines);
    };
    $("defaults").onclick = () => newWorld($("seedbox").value.trim() || randomSeed(), "");
    $("savesim").onclick = () => {
      const text = page.profile();
      if (!text)
        return say(page.problem());
      download(`${fileStem()}.bx2`, text, "text/plain");
    };
    $("loadsim").onclick = () => $("profilefile").click();
    $("profilefile").onchange = (e) => {
      const file = e.target.files[0];
      e.target.value = ""; // the same file chosen again is loaded again
      if (file)
        loadFile(file);
    };
    $("savepicture").onclick = () => $("world").toBlob((blob) => download(`${fileStem()}.png`, blob));
    $("savestats").onclick = () => download(`${fileStem()}.csv`, page.statsCsv(), "text/csv");
    $("copylink").onclick = () => {
      const link = shareLink();
      $("link").value = link;
      history.replaceState(null, "", link);
      navigator.clipboard?.writeText(link).then(() => say("Link copied", true), () => say("Link made", true));
    };
    $("switchorg").onclick = () => toggle("showOrganisms", "switchorg", "Organisms");
    $("switchenv").onclick = () => toggle("showEnvironment", "switchenv", "Environment");
    $("fullscreen").onclick = () => $("stage").requestFullscreen?.();
    document.addEventListener("fullscreenchange", fitStage);
    $("squaresize").oninput = (e) => {
      view.squareSize = Number(e.target.value);
      $("sizelabel").textContent = `x ${view.squareSize}`;
      run.dirty = true;
    };
    $("slowdown").oninput = (e) => {
      view.slowdown = Number(e.target.value);
      $("slowdowntext").textContent = view.slowdown === 0 ? "None" : (view.slowdown > 0 ? "+" : "") + view.slowdown;
    };
    $("world").onmousemove = (e) => {
      const canvas = e.target;
      run.pointer = { x: Math.floor(e.offsetX * canvas.width / canvas.clientWidth),
                      y: Math.floor(e.offsetY * canvas.height / canvas.clientHeight) };
      showReadout();
    };
    window.addEventListener("hashchange", openLink);
    document.addEventListener("dragover", (e) => {
      e.preventDefault();
      document.body.classList.add("dragging");
    });
    document.addEventListener("dragleave", () => document.body.classList.remove("dragging"));
    document.addEventListener("drop", (e) => {
      e.preventDefault();
      document.body.classList.remove("dragging");
      if (e.dataTransfer.files[0])
        loadFile(e.dataTransfer.files[0]);
    });
  }

  function toggle(flag, id, name) {
    view[flag] = !view[flag];
    $(id).textContent = (view[flag] ? "Hide " : "Show ") + name;
    run.dirty = true;
  }

  // Full screen: the world scaled to the screen, square edges kept sharp.
  function fitStage() {
    const canvas = $("world");
    if (document.fullscreenElement) {
      const scale = Math.min(screen.width / canvas.width, screen.height / canvas.height);
      canvas.style.width = `${canvas.width * scale}px`;
      canvas.style.height = `${canvas.height * scale}px`;
    } else {
      canvas.style.width = canvas.style.height = "";
    }
  }

  createBramblex().then((module) => {
    engine = module;
    page = new engine.Page();
    table = engine.optionTable();
    buildForm();
    wire();
    openLink();
    setRunning(true);
    requestAnimationFrame(frame);
    // For scripts and tests: the engine and the page's world.
    window.bramblex = { engine, page, setRunning, measure(generations) {
      const started = performance.now();
      page.run(generations);
      run.dirty = true;
      return generations / ((performance.now() - started) / 1000);
    } };
    document.body.dataset.ready = performance.now().toFixed(0); // ms from the page's start to its first world
  });
})();
