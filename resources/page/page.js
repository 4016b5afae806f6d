// SPDX-License-Identifier: MIT
// The web page of a listing: keeps the rows as the data blocks the page carries, draws only
// the rows in view, and filters, sorts, folds the tree and moves through the rows.
//
// What the writer (src/core/export/HtmlExport.cpp) promises: the rows come in chunks of
// CHUNK rows, each chunk as <script type="text/plain"> blocks, one per kind of data, a row a
// line; the first chunk in two parts, a screenful before this script and the rest after it.
// "meta" gives each row's kind (f file, d folder, F and D the same gone, c comment continued,
// x file data, n inserted) and an entry's tree level, at most one deeper than the folder
// above it; block "0" the bare names, "1".. the other columns' texts; "s" and "t" the size
// and date sort keys of entry rows. "<" is written as "\f", so nothing in a block can end its
// element, and the characters the blocks use or HTML drops (NUL, tab, line ends, form feed
// and "\x01") as "\x01" and the character 64 above it; other controls stand as they are.
// In the comment column a row ends with "\t" when the next row continues its comment (a
// chunk's last row is followed by the continuation rows that open the next chunk, for the
// filter); in the other columns and the keys a line "\t" repeats the last non-empty line.
(() => {
    "use strict";

    const CHUNK_BITS = 15;
    const CHUNK = 1 << CHUNK_BITS;
    const ROW = 28; // px, the height of .row in the style
    const MAX_HEIGHT = 16e6; // px the list takes at most; longer lists scroll proportionally
    const ENTRY = 1, FOLDER = 2, GONE = 4; // group flags

    const listing = document.getElementById("listing");
    const head = listing.querySelector(".head");
    const heads = [...head.children];
    const kinds = heads.map((h) => h.className); // a column's class says what it holds
    const commentColumn = kinds.indexOf("comment");
    const box = document.getElementById("rows");
    const win = box.firstElementChild;
    const input = document.getElementById("filter");
    const shown = document.getElementById("shown");
    const levels = document.getElementById("levels");
    const pathText = document.getElementById("path");
    const folder = document.querySelector("h1").textContent;
    const total = +listing.dataset.rows;

    // Per row: the kind letter's code, the level, the group it belongs to.
    const kind = new Uint8Array(total);
    const level = new Uint16Array(total);
    const groupOf = new Int32Array(total);
    // Per group (an entry and the rows below it that belong to it; the first group may be
    // inserted rows only): its first row, its folder, the group after its subtree, flags.
    const first = new Int32Array(total + 1);
    const parent = new Int32Array(total);
    const end = new Int32Array(total);
    const flags = new Uint8Array(total);
    const collapsed = new Uint8Array(total);
    const state = new Uint8Array(total); // while filtering: 1 matches, 2 above a match
    const below = new Int32Array(total); // while filtering: matches in the subtree
    let groups = 0, loaded = 0, deepest = 0, entries = 0, ready = false;
    const open = [-1]; // while reading: the folder group open at each level
    const chunks = [];

    let order = null; // groups in the order shown; null: as written
    let sortColumn = -1, direction = 1;
    let filtering = false;
    const view = new Int32Array(total);
    let viewLength = 0;
    let cursor = -1; // the table row the keyboard is on
    const pool = [];

    const isEntry = (k) => k === 102 || k === 100 || k === 70 || k === 68;

    function addRow(r, k, l) {
        const entry = isEntry(k);
        l = Math.min(l, open.length); // as the writer promises: a level no deeper than that
        if (entry || groups === 0) {
            const g = groups++;
            const isFolder = k === 100 || k === 68;
            first[g] = r;
            flags[g] = (entry ? ENTRY : 0) | (isFolder ? FOLDER : 0) | (k === 70 || k === 68 ? GONE : 0);
            parent[g] = open[Math.min(Math.max(l - 1, 0), open.length - 1)];
            if (isFolder && l > 0) {
                open.length = l;
                open.push(g);
            }
            deepest = Math.max(deepest, l);
            entries += entry ? 1 : 0;
        }
        kind[r] = k;
        groupOf[r] = groups - 1;
        level[r] = entry ? l : level[first[groups - 1]];
    }

    function readMeta(text) {
        for (let i = 0, n = text.length; i < n && loaded < total; loaded++) {
            const k = text.charCodeAt(i++);
            let l = 0;
            for (let c; i < n && (c = text.charCodeAt(i)) !== 10; i++) l = l * 10 + c - 48;
            i++;
            addRow(loaded, k, l);
        }
    }

    // Takes the data blocks parsed so far out of the page.
    function takeBlocks() {
        for (const element of document.querySelectorAll("script[data-chunk]")) {
            const c = +element.dataset.chunk, block = element.dataset.block;
            const text = element.textContent;
            element.remove();
            const chunk = chunks[c] || (chunks[c] = {
                rows: Math.max(0, Math.min(CHUNK, total - c * CHUNK)), cells: [], at: [], same: [], keys: {}
            });
            // A chunk may come in parts (the first screenful before this script).
            if (block === "meta") readMeta(text);
            else if (block === "s" || block === "t") chunk.keys[block] = (chunk.keys[block] || "") + text;
            else {
                chunk.cells[+block] = (chunk.cells[+block] || "") + text;
                chunk.at[+block] = chunk.same[+block] = null;
            }
        }
        first[groups] = loaded;
    }

    // Where each row's text starts in a chunk's block of a column, and past the last row.
    function starts(chunk, column) {
        if (chunk.at[column]) return chunk.at[column];
        const text = chunk.cells[column] || "", n = chunk.rows, at = new Int32Array(n + 1);
        let p = 0;
        if (column === commentColumn) {
            for (let i = 0; i < n; i++) {
                at[i] = p;
                for (let c; p < text.length && (c = text.charCodeAt(p)) !== 10 && c !== 9;) p++;
                p++;
            }
        } else {
            for (let i = 0; i < n; i++) {
                at[i] = p;
                const q = text.indexOf("\n", p);
                p = q < 0 ? text.length + 1 : q + 1;
            }
        }
        at[n] = p;
        if (column !== 0 && column !== commentColumn) {
            const same = new Int32Array(n);
            for (let i = 0, last = -1; i < n; i++) {
                const repeat = at[i + 1] - at[i] === 2 && text.charCodeAt(at[i]) === 9;
                same[i] = repeat && last >= 0 ? last : i;
                if (!repeat && at[i + 1] - at[i] > 1) last = i;
            }
            chunk.same[column] = same;
        }
        return (chunk.at[column] = at);
    }

    function cell(r, column) {
        const chunk = chunks[r >> CHUNK_BITS];
        const text = chunk && chunk.cells[column];
        if (!text) return "";
        const at = starts(chunk, column), same = chunk.same[column];
        let i = r & (CHUNK - 1);
        if (same) i = same[i];
        const s = text.slice(at[i], at[i + 1] - 1);
        return s === "\t" ? "" : decoded(s);
    }

    // A text of a block as the listing holds it.
    function decoded(s) {
        if (!s.includes("\f") && !s.includes("\x01")) return s;
        return s.replace(/\x01([\s\S])|\f/g, (m, c) => (c ? String.fromCharCode(c.charCodeAt(0) - 64) : "<"));
    }

    function finish() {
        if (ready) return;
        takeBlocks();
        for (let g = 0; g < groups; g++) end[g] = g + 1;
        for (let g = groups - 1; g >= 0; g--) if (parent[g] >= 0 && end[g] > end[parent[g]]) end[parent[g]] = end[g];
        for (let c = 0; c < chunks.length; c++) {
            starts(chunks[c], 0);
            if (commentColumn >= 0) starts(chunks[c], commentColumn);
        }
        if (deepest > 0) {
            listing.classList.add("tree");
            for (let l = 1; l < deepest; l++) levels.add(new Option(l === 1 ? "Show 1 level" : `Show ${l} levels`, l));
            levels.hidden = deepest < 2;
        }
        ready = true;
        const asked = fromAddress();
        if (asked !== null) input.value = asked;
        filter();
        if (window.requestIdleCallback) requestIdleCallback(rehearse);
    }

    // ---- the rows in view ----

    function rebuild() {
        let v = 0;
        if (!ready) {
            for (; v < loaded; v++) view[v] = v;
        } else {
            for (let p = 0; p < groups;) {
                const g = order ? order[p] : p;
                if (filtering && !state[g]) {
                    p += end[g] - g;
                    continue;
                }
                for (let r = first[g]; r < first[g + 1]; r++) view[v++] = r;
                p += collapsed[g] ? end[g] - g : 1;
            }
        }
        viewLength = v;
        box.style.height = Math.min(viewLength * ROW, MAX_HEIGHT) + "px";
    }

    // Which rows the window shows: the (fractional) view index at the top of the visible
    // part of the list, and how many rows fill the screen.
    function geometry() {
        const top = box.getBoundingClientRect().top, under = head.getBoundingClientRect().bottom;
        const into = Math.max(0, under - top);
        const screen = Math.max(1, Math.floor((window.innerHeight - under) / ROW));
        const height = Math.min(viewLength * ROW, MAX_HEIGHT);
        let at = into / ROW;
        if (viewLength * ROW > MAX_HEIGHT)
            at = Math.min(1, into / Math.max(1, height - screen * ROW)) * Math.max(0, viewLength - screen);
        return { top, under, into, at, screen, height };
    }

    function makeRow() {
        const row = document.createElement("div");
        for (let c = 0; c < kinds.length; c++) row.appendChild(document.createElement("span")).className = kinds[c];
        row.firstChild.append(document.createElement("i"), document.createElement("span"), document.createElement("small"));
        return row;
    }

    function fill(row, r) {
        const k = kind[r], g = groupOf[r];
        let names = "row " + String.fromCharCode(k).toLowerCase();
        if (k === 70 || k === 68) names += " g";
        if (filtering && state[g] === 2) names += " context";
        if (flags[g] & FOLDER && first[g] === r) names += collapsed[g] ? " shut" : " open";
        if (r === cursor) names += " cur";
        row.className = names;
        row.dataset.row = r;
        row.style.setProperty("--l", Math.max(level[r] - 1, 0));
        const name = row.firstChild;
        name.children[1].textContent = cell(r, 0);
        name.children[2].textContent = collapsed[g] && first[g] === r ? foldedCount(g) : "";
        for (let c = 0; c < kinds.length; c++) {
            const span = row.children[c];
            if (c > 0) span.textContent = cell(r, c);
            if (span.title) span.title = "";
        }
    }

    // What a folded folder hides: its entries, or while filtering its matches.
    function foldedCount(g) {
        const n = filtering ? below[g] - (state[g] === 1 ? 1 : 0) : end[g] - g - 1;
        if (n === 0) return "";
        return n.toLocaleString("en") + (filtering ? (n === 1 ? " match" : " matches") : n === 1 ? " entry" : " entries");
    }

    function draw() {
        const { into, at, screen } = geometry();
        const top = Math.floor(at);
        win.style.transform = `translateY(${into - (at - top) * ROW}px)`;
        while (pool.length < screen + 2) pool.push(win.appendChild(makeRow()));
        for (let i = 0; i < pool.length; i++) {
            const v = top + i, row = pool[i];
            row.hidden = v >= viewLength || i > screen + 1;
            if (!row.hidden) fill(row, view[v]);
        }
    }

    let drawing = 0;
    function redraw() {
        if (!drawing) drawing = requestAnimationFrame(() => {
            drawing = 0;
            draw();
        });
    }

    function indexOfRow(r) {
        for (let v = 0; v < viewLength; v++) if (view[v] === r) return v;
        return -1;
    }

    // Scrolls so that view index v is on screen, at the top when it was above, at the
    // bottom when it was below.
    function reveal(v) {
        const g = geometry();
        let target = v < g.at ? v : v > g.at + g.screen - 1 ? v - g.screen + 1 : null;
        if (target === null) return;
        target = Math.max(0, target);
        let into = target * ROW;
        if (viewLength * ROW > MAX_HEIGHT)
            into = (target / Math.max(1, viewLength - g.screen)) * (g.height - g.screen * ROW);
        window.scrollBy(0, g.top - (g.under - into));
    }

    // ---- the tree ----

    function toggle(g, fold) {
        if (!(flags[g] & FOLDER) || !listing.classList.contains("tree") || collapsed[g] === +fold) return;
        collapsed[g] = fold ? 1 : 0;
        rebuild();
        draw();
    }

    function foldBelow(n) {
        for (let g = 0; g < groups; g++) collapsed[g] = n > 0 && flags[g] & FOLDER && level[first[g]] >= n ? 1 : 0;
        rebuild();
        if (cursor >= 0 && indexOfRow(cursor) < 0) cursor = -1;
        draw();
    }

    function pathOf(r) {
        const names = [];
        for (let g = groupOf[r]; g >= 0; g = parent[g]) if (flags[g] & ENTRY) names.push(cell(first[g], 0));
        if (!names.length) return folder;
        return folder.replace(/\/$/, "") + "/" + names.reverse().join("/");
    }

    // ---- the filter ----

    // A plain text is found anywhere in names and comments, ignoring case (a comment's rows
    // read as one text, joined without a separator); a character as the data blocks hold it:
    const literal = (c) => (c === "<" ? "\\f" : /[\\^$.*+?()[\]{}|/]/.test(c) ? "\\" + c : c);

    // A text with "*", "?" or "[" is a shell pattern matched against whole names, as the
    // command line's search matches it (src/core/search/ShellPattern): "*" any run, "?" one
    // character, "[...]" one of a set (characters, ranges, classes such as "[:alpha:]", "!" or
    // "^" first to negate, a "]" first one of its characters, a "[" without "]" plain), "\"
    // quoting the next character; characters compare case-folded. Matched with one star to
    // go back to, a name costs at most its length times the pattern's, whatever the pattern.
    const RUN = 0, ONE = 1, CHAR = 2, SET = 3;
    const CLASS_NAMES = ["alnum", "alpha", "blank", "cntrl", "digit", "graph", "lower", "print", "punct", "space", "upper", "xdigit"];
    const LETTER = /^\p{L}$/u;
    const folds = new Map(), classes = new Map();

    // Unicode's simple case folding: the one character that stands for every case of c.
    function fold(c) {
        if (c < 128) return c >= 65 && c <= 90 ? c + 32 : c;
        let f = folds.get(c);
        if (f === undefined) {
            const s = String.fromCodePoint(c), same = new RegExp(`^\\u{${c.toString(16)}}$`, "iu");
            f = c;
            for (const t of [s.toUpperCase().toLowerCase(), s.toLowerCase()]) {
                const d = t.codePointAt(0);
                if (t.length === (d > 0xffff ? 2 : 1) && same.test(t)) {
                    f = d;
                    break;
                }
            }
            folds.set(c, f);
        }
        return f;
    }

    // The classes of c, a bit each in the order of CLASS_NAMES, as the command line's
    // (src/core/search/CharacterClass): letters are general category L, digits ASCII.
    function classesOf(c) {
        let bits = classes.get(c);
        if (bits !== undefined) return bits;
        const control = c < 0x20 || (c >= 0x7f && c <= 0x9f);
        const blank = c === 0x20 || c === 9 || c === 0xa0 || c === 0x1680 || (c >= 0x2000 && c <= 0x200a) || c === 0x202f || c === 0x205f || c === 0x3000;
        const space = blank || (c >= 10 && c <= 13) || c === 0x85 || c === 0x2028 || c === 0x2029;
        const digit = c >= 48 && c <= 57;
        const s = String.fromCodePoint(c), letter = LETTER.test(s), up = s.toUpperCase();
        const upper = up.length === (up.codePointAt(0) > 0xffff ? 2 : 1) ? up.codePointAt(0) : c;
        const xdigit = digit || ((c | 0x20) >= 97 && (c | 0x20) <= 102);
        const member = [digit || letter, letter, blank, control, digit, !control && !space, letter && upper !== c,
            !control, !control && !space && !(digit || letter), space, letter && fold(c) !== c, xdigit];
        bits = member.reduce((sum, m, i) => sum | (m ? 1 << i : 0), 0);
        classes.set(c, bits);
        return bits;
    }

    // "[...]" from p[i] on (after the "["): the set and where the pattern goes on, or null
    // when no "]" closes it.
    function parseSet(p, i) {
        const set = { negated: p[i] === 33 || p[i] === 94, items: [] };
        if (set.negated) i++;
        for (let head = true; i < p.length && (head || p[i] !== 93); head = false) {
            if (p[i] === 91 && p[i + 1] === 58) {
                let close = i + 2;
                while (close + 1 < p.length && !(p[close] === 58 && p[close + 1] === 93)) close++;
                const name = close + 1 < p.length ? String.fromCodePoint(...p.slice(i + 2, close)) : "";
                if (/^[a-z]+$/.test(name)) {
                    const known = CLASS_NAMES.indexOf(name);
                    set.items.push(known >= 0 ? { cls: 1 << known } : { low: 1, high: 0 });
                    i = close + 2;
                    continue;
                }
            }
            const item = { low: p[i], high: p[i++] };
            if (i + 1 < p.length && p[i] === 45 && p[i + 1] !== 93) {
                item.high = p[i + 1];
                i += 2;
            }
            set.items.push(item);
        }
        return i < p.length ? { set, next: i + 1 } : null;
    }

    function inSet(set, c) {
        const f = fold(c);
        let found = false;
        for (const item of set.items) {
            found = item.cls ? (classesOf(c) & item.cls) !== 0
                : (c >= item.low && c <= item.high) || (f >= fold(item.low) && f <= fold(item.high));
            if (found) break;
        }
        return found !== set.negated;
    }

    function parsePattern(text) {
        const p = [...text].map((c) => c.codePointAt(0)), tokens = [];
        for (let i = 0; i < p.length;) {
            const c = p[i];
            if (c === 42) {
                if (!tokens.length || tokens[tokens.length - 1].kind !== RUN) tokens.push({ kind: RUN });
                i++;
            } else if (c === 63) {
                tokens.push({ kind: ONE });
                i++;
            } else {
                const set = c === 91 ? parseSet(p, i + 1) : null;
                if (set) {
                    tokens.push({ kind: SET, set: set.set });
                    i = set.next;
                    continue;
                }
                if (c === 92 && i + 1 < p.length) i++;
                tokens.push({ kind: CHAR, fold: fold(p[i++]) });
            }
        }
        return tokens;
    }

    // Whether the text of a block from "from" to "to" matches the pattern's tokens.
    function matches(tokens, text, from, to) {
        const m = tokens.length;
        let p = 0, n = from, starP = -1, starN = 0;
        while (n < to) {
            if (p < m && tokens[p].kind === RUN) {
                starP = ++p;
                starN = n;
                continue;
            }
            let c = text.codePointAt(n), width = c > 0xffff ? 2 : 1;
            if (c === 12) c = 60;
            else if (c === 1 && n + 1 < to) c = text.charCodeAt(n + (width = 2) - 1) - 64;
            let step = false;
            if (p < m) {
                const t = tokens[p];
                step = t.kind === ONE || (t.kind === CHAR ? fold(c) === t.fold : t.kind === SET && inSet(t.set, c));
            }
            if (step) {
                p++;
                n += width;
            } else if (starP >= 0) {
                p = starP;
                const s = text.codePointAt(starN);
                starN += s > 0xffff || (s === 1 && starN + 1 < to) ? 2 : 1;
                n = starN;
            } else {
                return false;
            }
        }
        while (p < m && tokens[p].kind === RUN) p++;
        return p === m;
    }

    function compile(text) {
        if (/[*?[]/.test(text)) return { pattern: parsePattern(text) };
        const source = [...text].map(literal).join("\\t?");
        return { names: new RegExp(source, "giu"), comments: new RegExp(source, "giu") };
    }

    // Marks the groups whose names match a pattern; only an entry's name counts.
    function searchNames(tokens) {
        for (let c = 0; c < chunks.length; c++) {
            const text = chunks[c].cells[0];
            if (!text) continue;
            const at = starts(chunks[c], 0), n = chunks[c].rows, base = c * CHUNK;
            for (let x = 0; x < n; x++)
                if (isEntry(kind[base + x]) && matches(tokens, text, at[x], at[x + 1] - 1)) state[groupOf[base + x]] = 1;
        }
    }

    // Marks the groups with a row that matches; only an entry's name counts, as in search.
    function search(re, column) {
        for (let c = 0; c < chunks.length; c++) {
            const chunk = chunks[c], text = chunk.cells[column];
            if (!text) continue;
            const at = starts(chunk, column), n = chunk.rows, base = c * CHUNK;
            re.lastIndex = 0;
            for (let x = 0, m; (m = re.exec(text));) {
                while (x < n && at[x + 1] <= m.index) x++;
                if (x >= n) break;
                if (column !== 0 || isEntry(kind[base + x])) state[groupOf[base + x]] = 1;
                re.lastIndex = at[x + 1];
            }
        }
    }

    // Marks what text matches (state) and counts it in each subtree (below); the number of
    // entries that match.
    function mark(text) {
        const query = compile(text);
        let matched = 0;
        state.fill(0, 0, groups);
        if (query.pattern) searchNames(query.pattern);
        else search(query.names, 0);
        if (query.comments && commentColumn >= 0) search(query.comments, commentColumn);
        for (let g = 0; g < groups; g++) {
            below[g] = state[g];
            if (state[g] !== 1) continue;
            matched += flags[g] & ENTRY;
            for (let p = parent[g]; p >= 0 && !state[p]; p = parent[p]) state[p] = 2;
        }
        for (let g = groups - 1; g >= 0; g--) if (parent[g] >= 0) below[parent[g]] += below[g];
        return matched;
    }

    function filter() {
        if (!ready) return;
        const text = input.value.trim();
        const keep = cursor;
        filtering = text !== "";
        const matched = filtering ? mark(text) : 0;
        shown.textContent = (filtering ? matched.toLocaleString("en") + " of " : "") + entries.toLocaleString("en") + (entries === 1 ? " entry" : " entries");
        rebuild();
        cursor = keep >= 0 && indexOfRow(keep) >= 0 ? keep : -1;
        draw();
        clearTimeout(addressing); // once typing pauses: a new address costs a frame's time
        addressing = setTimeout(toAddress, 250, text);
    }

    // Runs the filter's work once while the page is idle, on a text most names hold, so
    // that the first key typed finds its code compiled.
    function rehearse() {
        if (filtering || !ready) return;
        mark(".");
        filtering = true;
        rebuild();
        filtering = false;
        rebuild();
    }

    let pending = 0, addressing = 0;
    function filterSoon() {
        cancelAnimationFrame(pending);
        pending = requestAnimationFrame(filter);
    }

    function fromAddress() {
        if (!location.hash.startsWith("#q=")) return null;
        const raw = location.hash.slice(3);
        try {
            return decodeURIComponent(raw);
        } catch {
            return raw; // not percent-encoded as it should be: taken as it stands
        }
    }

    function toAddress(text) {
        const hash = text ? "#q=" + encodeURIComponent(text) : "";
        try {
            history.replaceState(null, "", hash || location.pathname + location.search);
        } catch {
            // An address that cannot change keeps the one the page was opened with.
        }
    }

    // ---- sorting ----

    function numberKeys(block) {
        const keys = new Float64Array(groups);
        for (let c = 0; c < chunks.length; c++) {
            const text = chunks[c].keys[block] || "";
            for (let i = 0, p = 0, last = 0; i < chunks[c].rows && p < text.length; i++) {
                let q = text.indexOf("\n", p);
                if (q < 0) q = text.length;
                if (q > p) {
                    if (q - p !== 1 || text.charCodeAt(p) !== 9) last = +text.slice(p, q) || 0;
                    keys[groupOf[c * CHUNK + i]] = last;
                }
                p = q + 1;
            }
        }
        return keys;
    }

    function sortBy(column) {
        if (!ready) return;
        direction = column === sortColumn ? -direction : 1;
        sortColumn = column;
        const numeric = kinds[column] === "size" || kinds[column] === "date";
        let key;
        if (numeric) {
            key = numberKeys(kinds[column] === "size" ? "s" : "t");
        } else {
            key = new Array(groups);
            for (let g = 0; g < groups; g++) key[g] = flags[g] & ENTRY ? cell(first[g], column).toLowerCase() : "";
        }
        // Each folder's children, in the order written, then sorted among themselves: those
        // of the kind its first entry has (files or folders) first, as the listing was, then
        // by key; rows inserted above every entry stay on top.
        const start = new Int32Array(groups + 2), kids = new Int32Array(groups);
        const leads = new Int8Array(groups + 1).fill(-1);
        for (let g = 0; g < groups; g++) {
            const p = parent[g] < 0 ? groups : parent[g];
            start[p + 1]++;
            if (flags[g] & ENTRY && leads[p] < 0) leads[p] = flags[g] & FOLDER ? 1 : 0;
        }
        for (let p = 0; p <= groups; p++) start[p + 1] += start[p];
        const fill = start.slice();
        for (let g = 0; g < groups; g++) kids[fill[parent[g] < 0 ? groups : parent[g]]++] = g;
        let lead = 0;
        const rank = (g) => (!(flags[g] & ENTRY) ? 0 : (flags[g] & FOLDER ? 1 : 0) === lead ? 1 : 2);
        const byKey = numeric ? (a, b) => (key[a] - key[b]) * direction
            : (a, b) => (key[a] < key[b] ? -direction : key[a] > key[b] ? direction : 0);
        for (let p = 0; p <= groups; p++) {
            if (start[p + 1] - start[p] < 2) continue;
            lead = leads[p];
            kids.subarray(start[p], start[p + 1]).sort((a, b) => rank(a) - rank(b) || byKey(a, b) || a - b);
        }
        order = new Int32Array(groups);
        const stack = [];
        for (let n = 0, p = groups, i = start[groups]; ;) {
            if (i < start[p + 1]) {
                const g = kids[i++];
                order[n++] = g;
                if (start[g + 1] > start[g]) {
                    stack.push(p, i);
                    p = g;
                    i = start[g];
                }
            } else if (stack.length) {
                i = stack.pop();
                p = stack.pop();
            } else {
                break;
            }
        }
        heads.forEach((h, i) => h.setAttribute("aria-sort", i !== column ? "none" : direction > 0 ? "ascending" : "descending"));
        rebuild();
        draw();
    }

    // ---- the keyboard and the pointer ----

    function moveTo(v) {
        if (!viewLength) return;
        v = Math.max(0, Math.min(viewLength - 1, v));
        cursor = view[v];
        reveal(v);
        pathText.textContent = pathOf(cursor);
        draw();
    }

    document.addEventListener("keydown", (event) => {
        if (event.altKey || event.ctrlKey || event.metaKey || event.target.closest("button, select")) return;
        const typing = event.target === input;
        const { at: top, screen: page } = geometry();
        let at = cursor >= 0 ? indexOfRow(cursor) : -1;
        if (at < 0) at = Math.ceil(top) - 1; // no row chosen: start from the screen's first
        const g = cursor >= 0 ? groupOf[cursor] : -1;
        switch (event.key) {
            case "/":
                if (typing) return;
                input.focus();
                input.select();
                break;
            case "ArrowDown": moveTo(at + 1); break;
            case "ArrowUp": moveTo(at - 1); break;
            case "PageDown": moveTo(at + page); break;
            case "PageUp": moveTo(at - page); break;
            case "Home": if (typing) return; moveTo(0); break;
            case "End": if (typing) return; moveTo(viewLength - 1); break;
            case "ArrowRight":
                if (typing || g < 0) return;
                if (collapsed[g]) toggle(g, false);
                else moveTo(at + 1);
                break;
            case "ArrowLeft":
                if (typing || g < 0) return;
                if (flags[g] & FOLDER && !collapsed[g] && listing.classList.contains("tree")) toggle(g, true);
                else if (parent[g] >= 0) moveTo(indexOfRow(first[parent[g]]));
                break;
            case "Enter":
            case " ":
                if (typing || g < 0) return;
                toggle(g, !collapsed[g]);
                break;
            default:
                return;
        }
        event.preventDefault();
    });

    box.addEventListener("click", (event) => {
        const row = event.target.closest(".row");
        if (!row) return;
        const r = +row.dataset.row;
        const g = groupOf[r];
        if (event.target.tagName === "I" && first[g] === r) toggle(g, !collapsed[g]);
        cursor = r;
        pathText.textContent = pathOf(r);
        draw();
    });

    let pointed = -1;
    box.addEventListener("mousemove", (event) => {
        const row = event.target.closest(".row");
        const r = row ? +row.dataset.row : -1;
        if (r === pointed || r < 0) return;
        pointed = r;
        pathText.textContent = pathOf(r);
    });
    box.addEventListener("mouseleave", () => {
        pointed = -1;
        pathText.textContent = cursor >= 0 ? pathOf(cursor) : "";
    });
    // A text cut short shows whole when the pointer rests on it.
    box.addEventListener("mouseover", (event) => {
        const span = event.target.closest(".row > span");
        if (span && span.scrollWidth > span.clientWidth) span.title = span.textContent;
    });

    heads.forEach((h, i) => h.querySelector("button").addEventListener("click", () => sortBy(i)));
    input.addEventListener("input", filterSoon);
    levels.addEventListener("change", () => foldBelow(+levels.value));
    window.addEventListener("scroll", redraw, { passive: true });
    window.addEventListener("resize", redraw);
    window.addEventListener("hashchange", () => {
        const asked = fromAddress();
        if (asked !== null && asked !== input.value) {
            input.value = asked;
            filter();
        }
    });

    // The first chunk is here already: its rows are drawn while the others arrive.
    takeBlocks();
    rebuild();
    draw();
    if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", finish);
    else finish();
})();
