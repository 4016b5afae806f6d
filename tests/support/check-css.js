// SPDX-License-Identifier: MIT
// Checks a style sheet with css-tree (Debian's node-css-tree): it must parse, and every
// declaration must name a known property with a value that property takes (where a value
// holds var(), only its name is checked). Prints each problem; exits 1 when there is one.
// usage: NODE_PATH=/usr/share/nodejs node check-css.js FILE.css
"use strict";
const csstree = require("css-tree");
const file = process.argv[2];
const problems = [];
const ast = csstree.parse(require("fs").readFileSync(file, "utf8"), {
    positions: true,
    onParseError: (error) => problems.push(`${error.line}: ${error.message}`),
});
csstree.walk(ast, {
    visit: "Declaration",
    enter(node) {
        if (node.property.startsWith("--")) return;
        let error = csstree.lexer.matchDeclaration(node).error;
        if (error && /var\(\)/.test(error.message)) error = csstree.lexer.checkPropertyName(node.property);
        if (error) problems.push(`${node.loc.start.line}: ${node.property}: ${error.message.split("\n")[0]}`);
    },
});
for (const problem of problems) console.error(`${file}:${problem}`);
process.exit(problems.length ? 1 : 0);
